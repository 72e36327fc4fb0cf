// The library's exports in the native build: plain C functions, each
// forwarding to its entry point in PlugIn. Only these leave the library.

#include <cstdint>

#include "plugin/PlugIn.h"

#define VKT_EXPORT extern "C" __attribute__((visibility("default")))

VKT_EXPORT void zxRegisterPlugIn(TAddActionProc add, void* second, void* third, TSetVarProc setVar) {
  RegisterPlugIn(add, second, third, setVar);
}
VKT_EXPORT void zxInitPlugIn(std::int32_t value, char** name, char** author, char** hint) {
  InitPlugIn(value, name, author, hint);
}
VKT_EXPORT void zxRegisterScriptProcessor(void* proc) { RegisterScriptProcessor(proc); }
VKT_EXPORT void zxRegisterInterfaceAccess(TInterfaceAccessProc proc) { RegisterInterfaceAccess(proc); }
VKT_EXPORT void zxMessage(std::int32_t message) { PlugInMessage(message); }
VKT_EXPORT bool zxExecAction(std::int32_t action, char** params) { return ExecAction(action, params); }
VKT_EXPORT bool zxEditAction(std::int32_t action, char** params) { return EditAction(action, params); }
VKT_EXPORT void zxAbout() { About(); }

VKT_EXPORT std::int32_t vktQuantaroCmdList(const char* unused, const char* form, char* buffer) {
  return CmdList(unused, form, buffer);
}

// Twelve pointer-sized arguments, of which the first five are read.
VKT_EXPORT bool vktQuantaroExec(std::intptr_t a1, std::intptr_t a2, std::intptr_t a3, std::intptr_t a4,
                                std::intptr_t a5, std::intptr_t, std::intptr_t, std::intptr_t,
                                std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t) {
  return ExecCommand(reinterpret_cast<const char*>(a1), reinterpret_cast<const char*>(a2),
                     reinterpret_cast<const char*>(a3), reinterpret_cast<const char*>(a4),
                     reinterpret_cast<const char*>(a5));
}
