#pragma once
#include <gtest/gtest.h>

#include <string>

#include "controls/Startup.h"
#include "controls/ZorvexUtils.h"
#include "ui/RasterCanvas.h"

constexpr TColor kBack = Rgb(1, 2, 3);  // a colour no control paints

// Runs a test under a display of `bits` bits per pixel (modern look above
// 8), the start-up globals computed again; puts the default display back.
class TDisplay {
public:
  explicit TDisplay(int bits) { Set(bits); }
  ~TDisplay() { Set(0); }
  TDisplay(const TDisplay&) = delete;
  TDisplay& operator=(const TDisplay&) = delete;

private:
  static void Set(int bits) {
    OverrideDisplayBits(bits);
    StopControls();
    StartControls();
  }
};

inline std::string Hex(TColor c) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", c);
  return text;
}

// Whole pixel maps compared; the first difference named.
inline ::testing::AssertionResult SamePixels(const TRasterCanvas& a, const TRasterCanvas& b) {
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y))
        return ::testing::AssertionFailure() << "first difference at (" << x << ", " << y << "): "
                                             << Hex(a.Pixel(x, y)) << " vs " << Hex(b.Pixel(x, y));
  return ::testing::AssertionSuccess();
}
