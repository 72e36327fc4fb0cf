#pragma once
// zxhost's own calls across the plug-in boundary on 32-bit Windows, written
// apart from the plug-in's convention header so that a fault in one is not
// mirrored by the other.
//
// Every call into the plug-in goes through one assembly routine that places
// the arguments (register convention: EAX, EDX, ECX, then the rest pushed
// left to right; or stdcall: all pushed right to left), records ESP and the
// x87 control and status words and MXCSR before and after, and puts ESP back
// from its frame, so that a callee that removes the wrong number of bytes is
// reported instead of crashing the host. The routines handed to the plug-in
// are register-convention entries in front of the host's C functions.

#include <cstdint>
#include <string>
#include <vector>

#include "plugin/PlugInApi.h"

enum class TConvention { Register, StdCall };

// Calls routine with count 32-bit arguments and checks the call; name is
// used in the report of a fault. Returns EAX.
std::uint32_t CheckedCall(const char* name, TConvention convention, const void* routine,
                          const std::vector<std::uint32_t>& args);

// The register-convention entries handed to the plug-in; each forwards to
// the host function set with SetHostRoutines.
const void* AddActionEntry();
const void* SetVarEntry();
const void* InterfaceAccessEntry();
void SetHostRoutines(TAddActionProc add, TSetVarProc setVar);
void SetHostInterfaceAccess(TInterfaceAccessProc access);

// What went wrong in the checked calls so far: one text per faulty call
// (ESP not balanced, or the floating-point state changed).
struct TCallReport {
  unsigned calls = 0;
  std::vector<std::string> faults;
};
const TCallReport& CallReport();
void ClearCallReport();
