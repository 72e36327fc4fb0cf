#include "ui/Graphics.h"

TColor ColorToRGB(TColor color) {
  if (color & 0x80000000u) return SysColor(static_cast<int>(color & 0xFF));
  return color;
}
