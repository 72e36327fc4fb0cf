#pragma once
// What the controls ask of the Windows display: its depth, the desktop's
// accent colour, whether visual themes are on.

#include "ui/Graphics.h"

int DisplayBitsTimesPlanes();
// The colorization colour while the desktop composes windows, else
// `fallback`. Loads "dwmapi.dll" on first use (NT 6 and later only).
TColor DesktopAccentColor(TColor fallback);
void ReleaseDesktopComposition();
bool ThemesActive();
