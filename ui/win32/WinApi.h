#pragma once
// The Windows headers, for the Windows-only files. Include this after the
// framework's own headers: the platform's macros (DT_CENTER, DrawText, ...)
// must not rewrite the framework's declarations.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

// TCanvas::DrawText, not DrawTextA; the platform's call is named in full.
#undef DrawText
