#pragma once
// The contrast arithmetic's results for a fixed table of colours, printed
// the same way by both builds so that their single-precision results can be
// compared byte for byte.

#include <bit>
#include <cstdio>
#include <cstdint>

#include "controls/ZorvexPanel.h"
#include "controls/ZorvexUtils.h"

inline void PrintContrastTable() {
  const TColor colours[] = {0x000000, 0xFFFFFF, 0x808080, 0xFA9630, 0x0000FF, 0x00FF00, 0xFF0000, 0x123456,
                            0xE1FFFF, 0x3C3C3C, 0xC6D6D6, 0x7F7F80};
  const float thresholds[] = {50.0f, 100.0f, 175.0f, 300.0f};
  for (TColor value : colours)
    for (TColor against : colours) {
      std::printf("distance %06X %06X %08X\n", value, against, std::bit_cast<std::uint32_t>(ColorDistance(value, against)));
      for (float t : thresholds) {
        TColor adjusted = value;
        AdjustForContrast(adjusted, against, t);
        std::printf("adjust %06X %06X %g %06X\n", value, against, t, adjusted);
      }
    }
  std::printf("caption colour %06X\n", CaptionColor);
}
