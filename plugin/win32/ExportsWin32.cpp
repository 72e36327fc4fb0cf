// The library's exports on 32-bit Windows. The zx exports are register-
// convention stubs (RegisterCall.h) in front of C functions that forward to
// the entry points in PlugIn; the two command-list exports are stdcall. The
// names leave the library undecorated through vktQuantaro.def.

#include <cstdint>

#include "plugin/PlugIn.h"
#include "plugin/forms/Dialogs.h"
#include "plugin/win32/RegisterCall.h"

extern "C" {

// The C side of the register stubs, one per zx export.
__attribute__((used)) void vktEntryRegisterPlugIn(TAddActionProc add, void* second, void* third,
                                                  TSetVarProc setVar) {
  RegisterPlugIn(add, second, third, setVar);
}
__attribute__((used)) void vktEntryInitPlugIn(std::int32_t value, char** name, char** author, char** hint) {
  InitPlugIn(value, name, author, hint);
}
__attribute__((used)) void vktEntryRegisterScriptProcessor(void* proc) { RegisterScriptProcessor(proc); }
__attribute__((used)) void vktEntryRegisterInterfaceAccess(TInterfaceAccessProc proc) {
  RegisterInterfaceAccess(proc);
}
__attribute__((used)) void vktEntryMessage(std::int32_t message) { PlugInMessage(message); }
__attribute__((used)) bool vktEntryExecAction(std::int32_t action, char** params) {
  return ExecAction(action, params);
}
__attribute__((used)) bool vktEntryEditAction(std::int32_t action, char** params) {
  return EditActionDialog(action, params);
}
__attribute__((used)) void vktEntryAbout() { AboutDialog(); }

__stdcall std::int32_t vktQuantaroCmdList(const char* unused, const char* form, char* buffer) {
  return CmdList(unused, form, buffer);
}

// Twelve 32-bit arguments, of which the first five are read.
__stdcall bool vktQuantaroExec(std::intptr_t a1, std::intptr_t a2, std::intptr_t a3, std::intptr_t a4,
                               std::intptr_t a5, std::intptr_t, std::intptr_t, std::intptr_t, std::intptr_t,
                               std::intptr_t, std::intptr_t, std::intptr_t) {
  return ExecCommand(reinterpret_cast<const char*>(a1), reinterpret_cast<const char*>(a2),
                     reinterpret_cast<const char*>(a3), reinterpret_cast<const char*>(a4),
                     reinterpret_cast<const char*>(a5));
}

}  // extern "C"

__asm__(VKT_REGISTER_ENTRY_MACRO
        "VKT_REGISTER_ENTRY zxRegisterPlugIn, vktEntryRegisterPlugIn, 4\n"
        "VKT_REGISTER_ENTRY zxInitPlugIn, vktEntryInitPlugIn, 4\n"
        "VKT_REGISTER_ENTRY zxRegisterScriptProcessor, vktEntryRegisterScriptProcessor, 1\n"
        "VKT_REGISTER_ENTRY zxRegisterInterfaceAccess, vktEntryRegisterInterfaceAccess, 1\n"
        "VKT_REGISTER_ENTRY zxMessage, vktEntryMessage, 1\n"
        "VKT_REGISTER_ENTRY zxExecAction, vktEntryExecAction, 2\n"
        "VKT_REGISTER_ENTRY zxEditAction, vktEntryEditAction, 2\n"
        "VKT_REGISTER_ENTRY zxAbout, vktEntryAbout, 0\n"
        ".purgem VKT_REGISTER_ENTRY\n");
