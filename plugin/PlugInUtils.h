#pragma once
// What the plug-in keeps of its host: the routines handed over at
// registration, the calls into them, and the host strings (zero-terminated
// 8-bit texts in blocks that host and plug-in hand to each other).
//
// Every call into the host goes through CallAddAction, CallSetVar and
// CallInterfaceAccess, so that a build whose host routines use another
// calling convention replaces them in this one unit.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "plugin/PlugInApi.h"

// The routines kept from registration; nil until then.
extern TAddActionProc AddActionProc;
extern TSetVarProc SetVarProc;
extern TInterfaceAccessProc InterfaceAccessProc;
extern void* ScriptProcessorProc;  // kept; nothing in the plug-in reads it

class TFloatEnvGuard;

// Marks the time an export runs for the host, with the guard that holds the
// host's floating-point settings: calls into the host made meanwhile run
// under those settings, not ours. Frames nest; the innermost one counts.
class THostFrame {
public:
  explicit THostFrame(const TFloatEnvGuard& guard) noexcept;
  ~THostFrame();
  THostFrame(const THostFrame&) = delete;
  THostFrame& operator=(const THostFrame&) = delete;

private:
  const TFloatEnvGuard* FOuter;
};

// Calls into the host. A routine not handed over yet is not called (the
// host would crash on a nil routine): the result is then false. Inside a
// host frame the routine runs under the host's floating-point settings. On
// Windows an exception the host raises inside its routine (a structured
// exception, which C++ handlers never see) ends the call there and is thrown
// on as an Exception, so that the plug-in's own error handling runs.
bool CallAddAction(std::int32_t number, const std::string& name, const std::string& description,
                   const std::uint8_t* kinds, std::int32_t numberAgain, std::uint8_t count);
bool CallSetVar(const std::string& name, const std::string& value);
bool CallInterfaceAccess(std::int32_t command, char** variable);

// Host strings. A nil variable reads as empty text.
std::string_view HostStringText(const char* var);
// Stores a fresh copy of text in var. The copy is made first; only when that
// succeeded is the old block freed and the new one stored. On failure var
// keeps its old text and the result is false.
[[nodiscard]] bool SetHostString(char*& var, std::string_view text);
// Frees var's block, if any, and sets it to nil.
void FreeHostString(char*& var);

// The memory behind host strings (malloc/free natively, GlobalAlloc with
// GMEM_FIXED / GlobalFree on Windows). Replaceable so that tests can make an
// allocation fail; SetHostAllocator returns the one it replaces.
using THostAllocator = void* (*)(std::size_t size);
THostAllocator SetHostAllocator(THostAllocator alloc);
void HostFree(void* block);
