#include <string>

#include "ui/Bitmap.h"
#include "ui/Platform.h"
#include "ui/win32/WinApi.h"

// A bitmap resource of this module is a packed DIB (header, colour table,
// bits) that stays mapped while the module is loaded.
std::span<const std::uint8_t> FindBitmapResource(std::string_view name) {
  const std::string key(name);
  const auto module = static_cast<HMODULE>(ModuleHandle());
  if (HRSRC found = FindResourceA(module, key.c_str(), MAKEINTRESOURCEA(2))) {  // RT_BITMAP
    if (HGLOBAL loaded = LoadResource(module, found)) {
      const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
      if (bytes) return {bytes, SizeofResource(module, found)};
    }
  }
  return FindRegisteredBitmapResource(name);
}
