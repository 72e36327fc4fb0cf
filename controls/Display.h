#pragma once
// What the controls ask of the display: its depth, the desktop's accent
// colour, whether visual themes are on, and their bitmaps by name. The
// Windows build asks the system (win32/DisplayWin32.cpp); the native build
// has no display and answers as a true-colour screen without composition
// or themes would (DisplayNative.cpp).

#include "ui/Graphics.h"

int DisplayBitsTimesPlanes();
// The colorization colour while the desktop composes windows, else
// `fallback`. Windows loads "dwmapi.dll" on first use (NT 6 and later only).
TColor DesktopAccentColor(TColor fallback);
void ReleaseDesktopComposition();
bool ThemesActive();
// Makes the controls' bitmaps findable by name: natively registered from the
// embedded files; the Windows build has them in its resources.
void PrepareControlsResources();
