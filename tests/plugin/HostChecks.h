#pragma once
// The plug-in against hosts written to misbehave, through the exports of a
// loaded plug-in file. Shared by the native tests and the Windows runner
// under Wine, so that both builds answer the same cases. Each check returns
// its failures, one text each (empty when all held).

#include <cstdint>
#include <string>
#include <vector>

#include "host/PlugInLoader.h"

// Under the host's control words: every host routine runs under exactly
// those (flags cleared), the flags a routine raises (raiseFlags; the host's
// word must mask invalid operation) are never taken for faults of the
// plug-in, and the host's state is back after every export.
std::vector<std::string> CheckHostSettingsSeen(const TPlugInApi& api, std::uint16_t control, std::uint32_t mxcsr,
                                               bool raiseFlags);

// Both actions with 1,000-term formulas, called from a thread with a 64 KB stack.
std::vector<std::string> CheckSmallStack(const TPlugInApi& api);

#if defined(_WIN32)
// Host routines that raise the structured exception code on their
// failingCall-th call of an export (0: on every call): nothing reaches the
// host, the action reports what it still can, the state comes back.
std::vector<std::string> CheckHostExceptions(const TPlugInApi& api, std::uint16_t control, std::uint32_t mxcsr,
                                             std::uint32_t code, int failingCall);
#endif
