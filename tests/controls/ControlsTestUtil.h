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

// The soft corners' alphas as the drawing rules give them, rows of three.
enum { kTopLeft, kTopRight, kBottomLeft, kBottomRight };
inline constexpr int kCornerAlphas[4][9] = {
    {30, 80, 200, 80, 200, 60, 200, 60, 0},
    {200, 80, 30, 60, 200, 80, 0, 60, 200},
    {200, 60, 0, 80, 200, 60, 30, 80, 200},
    {0, 60, 200, 60, 200, 80, 200, 80, 30},
};

// `color` at `alpha` over `under`: factors a (one more above 127) and
// 256 - a per channel, halves rounded up.
inline TColor Blend(TColor color, TColor under, int alpha) {
  if (alpha <= 0) return under;
  if (alpha >= 255) return color;
  const unsigned a = alpha > 127 ? alpha + 1 : alpha;
  TColor out = 0;
  for (int s = 0; s < 24; s += 8)
    out |= ((((color >> s) & 0xFF) * a + ((under >> s) & 0xFF) * (256 - a) + 0x7F) >> 8) << s;
  return out;
}

// The line k (from the top or left) of a gradient of n lines from A (last
// line) to B (first line): step n - 1 - k of A + i (B - A) / (n - 1).
inline TColor GradientLine(TColor a, TColor b, int k, int n) {
  TColor out = 0;
  for (int s = 0; s < 24; s += 8) {
    const int from = (a >> s) & 0xFF, to = (b >> s) & 0xFF;
    out |= static_cast<TColor>(from + (n - 1 - k) * (to - from) / (n - 1)) << s;
  }
  return out;
}

// What a round frame of w x h in `color` shows at (x, y) of its rectangle,
// `under` being the pixel beneath: full lines between soft 3 x 3 corners.
inline TColor RoundFramePixel(int w, int h, int x, int y, TColor color, TColor under) {
  const bool right = x >= w - 3, bottom = y >= h - 3;
  if ((x < 3 || right) && (y < 3 || bottom)) {
    const int corner = (bottom ? kBottomLeft : kTopLeft) + (right ? 1 : 0);
    return Blend(color, under, kCornerAlphas[corner][(bottom ? y - (h - 3) : y) * 3 + (right ? x - (w - 3) : x)]);
  }
  return x == 0 || y == 0 || x == w - 1 || y == h - 1 ? color : under;
}

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
