#pragma once
// The Windows headers, for the Windows-only files, before or after the
// framework's own headers: the framework names none of the platform's
// macros, except TCanvas::DrawText, which the platform's DrawText would
// rename to DrawTextA; that macro goes here and in ui/Canvas.h.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

// TCanvas::DrawText, not DrawTextA; the platform's call is named in full.
#undef DrawText
