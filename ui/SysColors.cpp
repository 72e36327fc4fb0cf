#include <iterator>

#include "ui/Graphics.h"

// The system colours of the native build: the values Wine's default theme
// gives a fresh prefix, read once and pinned here, so that a control painted
// on the raster matches the same control painted by the Windows build under
// Wine. Indexes beyond the table are black, as GetSysColor answers them.
TColor SysColor(int index) {
  static constexpr TColor table[] = {
    0xFFFFFF, 0x956F25, 0xFA9632, 0x808080,
    0xFFFFFF, 0xFFFFFF, 0x9E9E9E, 0x000000,
    0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF,
    0x808080, 0xFA9630, 0xFFFFFF, 0xF5F5F5,
    0xA6A6A6, 0xA6A6A6, 0x000000, 0xC8C8C8,
    0xFFFFFF, 0x6A6A6A, 0xE3E3E3, 0x000000,
    0xFFFFFF, 0xFFFFFF, 0xE0E0E0, 0xFA9632,
    0x808080, 0xFA9630, 0xFFFFFF,
  };
  return index >= 0 && index < static_cast<int>(std::size(table)) ? table[index] : 0;
}
