#include "controls/Display.h"

void RegisterControlsBitmaps();  // generated from controls/res

int DisplayBitsTimesPlanes() { return 24; }
TColor DesktopAccentColor(TColor fallback) { return fallback; }
void ReleaseDesktopComposition() {}
bool ThemesActive() { return false; }
void PrepareControlsResources() { RegisterControlsBitmaps(); }
