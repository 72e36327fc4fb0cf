#pragma once
// The binary interface between the Zorvex host and a plug-in library, as
// seen by a host that loads it and by the plug-in that implements it.
//
// In the native build every routine is a plain C function. On 32-bit Windows
// the zx exports and the host routines use the register convention and the
// two command-list exports stdcall; hosts there call through thunks with the
// same C++ signatures.

#include <cstdint>

extern "C" {

// Routines the host hands to zxRegisterPlugIn / zxRegisterInterfaceAccess.
typedef bool (*TAddActionProc)(std::int32_t number, const char* name, const char* description,
                               const std::uint8_t* kinds, std::int32_t numberAgain, std::uint8_t count);
typedef bool (*TSetVarProc)(const char* name, const char* value);
typedef bool (*TInterfaceAccessProc)(std::int32_t command, char** variable);

// The exports.
typedef void (*TZxRegisterPlugIn)(TAddActionProc add, void* second, void* third, TSetVarProc setVar);
typedef void (*TZxInitPlugIn)(std::int32_t value, char** name, char** author, char** hint);
typedef void (*TZxRegisterScriptProcessor)(void* proc);
typedef void (*TZxRegisterInterfaceAccess)(TInterfaceAccessProc proc);
typedef void (*TZxMessage)(std::int32_t message);
typedef bool (*TZxExecAction)(std::int32_t action, char** params);
typedef bool (*TZxEditAction)(std::int32_t action, char** params);
typedef void (*TZxAbout)();
typedef std::int32_t (*TVktCmdList)(const char* unused, const char* form, char* buffer);
typedef bool (*TVktExec)(std::intptr_t a1, std::intptr_t a2, std::intptr_t a3, std::intptr_t a4,
                         std::intptr_t a5, std::intptr_t a6, std::intptr_t a7, std::intptr_t a8,
                         std::intptr_t a9, std::intptr_t a10, std::intptr_t a11, std::intptr_t a12);

}  // extern "C"

// Parameter kind bytes passed to TAddActionProc.
constexpr std::uint8_t ParamKindText = 1;
constexpr std::uint8_t ParamKindVariable = 6;  // names the variable that receives the result

// InterfaceAccessProc command: the host offers its variables for insertion.
constexpr std::int32_t InsertVariableCommand = 14;
