#pragma once
// How the plug-in calls a routine the host handed over. The 32-bit Windows
// host passes its routines in its register convention, which only the
// assembly adapter of win32/RegisterCall.h can call; everywhere else they
// are plain C functions, called directly. This choice is the one place
// portable code names the platform.

#if defined(_WIN32) && defined(__i386__)
#include "plugin/win32/RegisterCall.h"
#define VKT_HOST_CALL(routine, ...) RegisterCallBool(routine, __VA_ARGS__)
#else
#define VKT_HOST_CALL(routine, ...) routine(__VA_ARGS__)
#endif
