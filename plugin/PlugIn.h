#pragma once
// The plug-in's entry points as ordinary functions: registration with the
// host, initialisation, the host message, the actions and the command list.
// Each one computes under the standard floating-point settings and lets no
// error escape; the exported functions of each platform only forward here.

#include <array>
#include <cstdint>
#include <string>

#include "plugin/PlugInApi.h"

// Set by RegisterPlugIn; empty texts and zero counts before it. The arrays
// are indexed by action number (1 calc, 2 diff); entry 0 is unused.
extern std::string PlugInName;
extern std::array<std::string, 3> ActionName;
extern std::array<std::int32_t, 3> ActionParamCount;
extern std::array<std::string, 3> ActionGroup;
extern std::array<std::string, 3> ActionDescription;

inline constexpr const char* kPlugInTitle = "vktQuantaro 1.09";
inline constexpr const char* kPlugInAuthor = "vktQuantaro Team";
inline constexpr const char* kDllNameVar = "[*/*vktQuantaroDllName]";

void RegisterPlugIn(TAddActionProc add, void* second, void* third, TSetVarProc setVar) noexcept;
void InitPlugIn(std::int32_t value, char** name, char** author, char** hint) noexcept;
void RegisterScriptProcessor(void* proc) noexcept;
void RegisterInterfaceAccess(TInterfaceAccessProc proc) noexcept;
void PlugInMessage(std::int32_t message) noexcept;
bool ExecAction(std::int32_t action, char** params) noexcept;
// The build without dialogs (natively): EditAction shows nothing and
// returns false, About does nothing. The Windows exports call the dialogs
// of plugin/forms instead (EditActionDialog, AboutDialog).
bool EditAction(std::int32_t action, char** params) noexcept;
void About() noexcept;
std::int32_t CmdList(const char* unused, const char* form, char* buffer) noexcept;
bool ExecCommand(const char* unused, const char* number, const char* arg3, const char* arg4,
                 const char* arg5) noexcept;
