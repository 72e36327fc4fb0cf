#include "controls/Display.h"

#include "ui/win32/WinApi.h"

#include <uxtheme.h>

int DisplayBitsTimesPlanes() {
  HDC dc = GetDC(nullptr);
  const int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
  ReleaseDC(nullptr, dc);
  return bits;
}

namespace {
using TIsCompositionEnabled = HRESULT(WINAPI*)(BOOL*);
using TGetColorizationColor = HRESULT(WINAPI*)(DWORD*, BOOL*);

HMODULE GDwmModule = nullptr;

bool NtSixOrLater() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&version)) return false;
#pragma GCC diagnostic pop
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 6;
}
}  // namespace

TColor DesktopAccentColor(TColor fallback) {
  if (!GDwmModule && NtSixOrLater()) GDwmModule = LoadLibraryA("dwmapi.dll");
  if (!GDwmModule) return fallback;
  auto isEnabled = reinterpret_cast<TIsCompositionEnabled>(
      reinterpret_cast<void*>(GetProcAddress(GDwmModule, "DwmIsCompositionEnabled")));
  auto colorization = reinterpret_cast<TGetColorizationColor>(
      reinterpret_cast<void*>(GetProcAddress(GDwmModule, "DwmGetColorizationColor")));
  BOOL enabled = FALSE;
  if (!isEnabled) return fallback;
  isEnabled(&enabled);  // the result code says no more than the flag
  if (!enabled) return fallback;
  if (!colorization) return fallback;
  DWORD argb = 0;
  BOOL opaque = FALSE;
  colorization(&argb, &opaque);
  return Rgb((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

void ReleaseDesktopComposition() {
  if (GDwmModule) FreeLibrary(GDwmModule);
  GDwmModule = nullptr;
}

bool ThemesActive() { return IsAppThemed() && IsThemeActive(); }

// The bitmaps are resources of the module that links the controls.
void PrepareControlsResources() {}
