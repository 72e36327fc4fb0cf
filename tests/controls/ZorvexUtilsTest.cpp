#include "ControlsTestUtil.h"

#include <cmath>
#include <initializer_list>

TEST(ZorvexUtils, MixColorsWeighsTheFirstColourInPercentOrPerMille) {
  struct Case { TColor a, b; int weight; TColor want; } cases[] = {
      {Rgb(194, 194, 178), Rgb(234, 234, 218), 50, Rgb(214, 214, 198)},
      {Rgb(255, 255, 255), Rgb(230, 139, 44), 75, Rgb(249, 226, 202)},
      {Rgb(255, 255, 255), Rgb(230, 139, 44), 25, Rgb(236, 168, 97)},
      {Rgb(200, 0, 100), Rgb(0, 200, 0), 100, Rgb(20, 180, 10)},  // per mille: 10 %
      {Rgb(1, 0, 0), Rgb(0, 0, 0), 50, Rgb(1, 0, 0)},             // halves round up
      {Rgb(255, 0, 0), Rgb(0, 0, 0), 1000, Rgb(255, 0, 0)},
      {clBtnShadow, clWhite, 0, clWhite},                         // system colours resolved
  };
  for (const auto& c : cases) EXPECT_EQ(Hex(MixColors(c.a, c.b, c.weight)), Hex(c.want)) << c.weight;
}

TEST(ZorvexUtils, ShiftColorClampsEachChannel) {
  EXPECT_EQ(ShiftColor(Rgb(214, 214, 198), 20), Rgb(234, 234, 218));
  EXPECT_EQ(ShiftColor(Rgb(250, 5, 128), 10), Rgb(255, 15, 138));
  EXPECT_EQ(ShiftColor(Rgb(250, 5, 128), -10), Rgb(240, 0, 118));
}

TEST(ZorvexUtils, ContrastArithmeticInSinglePrecision) {
  EXPECT_NEAR(ColorDistance(clBlack, clWhite), 440.85f, 0.01f);
  EXPECT_EQ(ColorDistance(Rgb(10, 20, 30), Rgb(10, 20, 30)), 0.0f);
  EXPECT_EQ(ContrastThreshold(0, 175), 350.0f);
  EXPECT_EQ(ContrastThreshold(220, 175), 175.0f);
  EXPECT_EQ(ContrastThreshold(110, 100), 150.0f);
  EXPECT_FALSE(HasContrast(Rgb(20, 20, 20), clBlack, true, 175));
  EXPECT_TRUE(HasContrast(clWhite, clBlack, true, 175));
  EXPECT_FALSE(HasContrast(clWhite, clBlack, false, 441));  // strictly greater
}

TEST(ZorvexUtils, AdjustForContrastReachesTheThreshold) {
  struct Case { TColor value, against; float threshold; } cases[] = {
      {Rgb(0, 0, 128), clBlack, 175},  // too dark on black: brightened
      {Rgb(200, 200, 200), clWhite, 175},  // too light on white: darkened
      {Rgb(48, 150, 250), clBlack, 175},
      {Rgb(128, 128, 0), Rgb(120, 120, 10), 100},
  };
  for (const auto& c : cases) {
    TColor v = c.value;
    AdjustForContrast(v, c.against, c.threshold);
    const float want = ContrastThreshold(ColorDistance(c.against, 0), c.threshold);
    // Channels are rounded to whole numbers: a step of one is at most ~1.5.
    EXPECT_NEAR(ColorDistance(v, c.against), want, 2.0f) << Hex(c.value);
  }
  TColor caption = clHighlight;
  EnsureContrast(caption, clBtnText, 175);
  EXPECT_TRUE(HasContrast(caption, clBlack, true, 174));
  TColor already = clWhite;  // enough contrast: untouched
  EnsureContrast(already, clBlack, 175);
  EXPECT_EQ(already, clWhite);
}

TEST(ZorvexUtils, ScreenColorsFromBitsTimesPlanes) {
  for (const auto& [bits, colours] : {std::pair{4, 16}, {8, 256}, {16, 16777216}, {32, 16777216}}) {
    OverrideDisplayBits(bits);
    EXPECT_EQ(GetScreenColors(), colours);
  }
  OverrideDisplayBits(0);
}

TEST(ZorvexUtils, DrawAlphaPixelBlendsWithRoundedFactors) {
  TRasterCanvas canvas(2, 1, clBlack);
  struct Case { int alpha; TColor want; } cases[] = {
      {0, clBlack}, {127, Rgb(127, 127, 127)}, {128, Rgb(128, 128, 128)}, {255, clWhite}, {300, clWhite}};
  // (128 with a factor of 128 would give 127.)
  for (const auto& c : cases) {
    canvas.SetPixel(0, 0, clBlack);
    DrawAlphaPixel(canvas, 0, 0, clWhite, c.alpha);
    EXPECT_EQ(Hex(canvas.Pixel(0, 0)), Hex(c.want)) << c.alpha;
  }
  DrawAlphaPixel(canvas, 5, 0, clWhite, 100);  // the read fails: nothing drawn, no fault
  canvas.SetPixel(0, 0, Rgb(0, 0, 255));
  DrawAlphaPixel(canvas, 0, 0, Rgb(255, 0, 0), 64);  // 64/256 red over 192/256 blue
  EXPECT_EQ(Hex(canvas.Pixel(0, 0)), Hex(Rgb(64, 0, 191)));
}

TEST(ZorvexUtils, FillGradientEndsInBAtTopOrLeft) {
  TRasterCanvas canvas(5, 5, kBack);
  FillGradient(canvas, {0, 0, 1, 5}, Rgb(0, 0, 0), Rgb(100, 40, 8), true);
  const TColor want[5] = {Rgb(100, 40, 8), Rgb(75, 30, 6), Rgb(50, 20, 4), Rgb(25, 10, 2), Rgb(0, 0, 0)};
  for (int y = 0; y < 5; ++y) EXPECT_EQ(Hex(canvas.Pixel(0, y)), Hex(want[y])) << y;
  FillGradient(canvas, {1, 0, 5, 1}, clBlack, clWhite, false);
  EXPECT_EQ(canvas.Pixel(1, 0), clWhite);
  EXPECT_EQ(canvas.Pixel(4, 0), clBlack);
  EXPECT_EQ(canvas.Pixel(2, 1), kBack);  // the rectangle's other rows untouched
}

TEST(ZorvexUtils, FillGradientOnEmptyAndOneLineRectangles) {
  TRasterCanvas canvas(4, 4, kBack);
  FillGradient(canvas, {0, 0, 4, 0}, clRed, clBlue, true);   // height 0
  FillGradient(canvas, {0, 0, 0, 4}, clRed, clBlue, false);  // width 0
  FillGradient(canvas, {0, 2, 4, 0}, clRed, clBlue, true);   // upside down
  for (int i = 0; i < 16; ++i) ASSERT_EQ(canvas.Pixel(i % 4, i / 4), kBack);
  FillGradient(canvas, {0, 1, 4, 2}, clRed, clBlue, true);   // one row: colour A
  FillGradient(canvas, {3, 0, 4, 4}, clWhite, clBlue, false);  // one column
  EXPECT_EQ(canvas.Pixel(0, 1), clRed);
  EXPECT_EQ(canvas.Pixel(3, 3), clWhite);
}

TEST(ZorvexUtils, BevelAndRoundFrames) {
  TRasterCanvas canvas(8, 8, kBack);
  DrawBevelFrame(canvas, {0, 0, 4, 4}, clWhite, clBlack);
  EXPECT_EQ(canvas.Pixel(0, 0), clWhite);
  EXPECT_EQ(canvas.Pixel(3, 3), clBlack);
  EXPECT_EQ(canvas.Pixel(3, 0), Rgb(128, 128, 128));  // the two mixed corners
  EXPECT_EQ(canvas.Pixel(0, 3), Rgb(128, 128, 128));
  EXPECT_EQ(canvas.Pixel(1, 1), kBack);

  TRasterCanvas round(10, 10, clBlack);
  DrawRoundFrame(round, {0, 0, 10, 10}, clWhite);
  for (int i = 3; i <= 6; ++i) {
    EXPECT_EQ(round.Pixel(i, 0), clWhite);
    EXPECT_EQ(round.Pixel(9, i), clWhite);
  }
  EXPECT_EQ(round.Pixel(7, 0), Rgb(200, 200, 200));  // top-right pattern 200 80 30
  EXPECT_EQ(round.Pixel(9, 0), Rgb(30, 30, 30));
  EXPECT_EQ(round.Pixel(0, 0), Rgb(30, 30, 30));
  EXPECT_EQ(round.Pixel(2, 2), clBlack);  // alpha 0
  EXPECT_EQ(round.Pixel(5, 5), clBlack);
}

// Every combination of the four flags, against the colours the face is made
// of: the frame (top edge), the outer and inner bevel (left column), and
// the inside.
TEST(ZorvexUtils, DrawButtonFaceInEveryCombination) {
  const TColor grayOuter = Rgb(240, 240, 236), grayInner = Rgb(245, 245, 241);
  const TColor orangeOuter = Rgb(249, 226, 202), orangeInner = Rgb(251, 238, 223);
  for (int bits = 0; bits < 16; ++bits) {
    const bool enabled = bits & 1, pressed = bits & 2, flat = bits & 4, hot = bits & 8;
    TRasterCanvas canvas(24, 24, kBack);
    DrawButtonFace(canvas, {0, 0, 24, 24}, enabled, pressed, flat, hot);
    const std::string name = "enabled " + std::to_string(enabled) + " pressed " + std::to_string(pressed) +
                             " flat " + std::to_string(flat) + " hot " + std::to_string(hot);
    TColor frame = enabled ? Rgb(128, 169, 211) : Rgb(189, 189, 189);
    if (pressed && enabled && hot) frame = Rgb(160, 201, 243);
    if (!pressed && enabled && !flat && hot) frame = Rgb(110, 151, 193);
    EXPECT_EQ(Hex(canvas.Pixel(12, 0)), Hex(frame)) << name;
    EXPECT_EQ(Hex(canvas.Pixel(0, 12)), Hex(frame)) << name;
    if (pressed) {
      EXPECT_EQ(Hex(canvas.Pixel(1, 5)), Hex(Rgb(194, 194, 178))) << name;   // dark left line
      EXPECT_EQ(Hex(canvas.Pixel(12, 1)), Hex(Rgb(194, 194, 178))) << name;  // gradient top: Dark
      EXPECT_EQ(Hex(canvas.Pixel(12, 22)), Hex(Rgb(234, 234, 218))) << name; // bottom: FaceLight
      TRasterCanvas other(24, 24, kBack);  // flat makes no difference
      DrawButtonFace(other, {0, 0, 24, 24}, enabled, pressed, !flat, hot);
      EXPECT_TRUE(SamePixels(canvas, other)) << name;
    } else {
      const bool orange = enabled && !flat && hot;
      EXPECT_EQ(Hex(canvas.Pixel(1, 12)), Hex(orange ? orangeOuter : grayOuter)) << name;
      EXPECT_EQ(Hex(canvas.Pixel(2, 12)), Hex(orange ? orangeInner : grayInner)) << name;
      EXPECT_EQ(Hex(canvas.Pixel(12, 3)), Hex(hot ? clWhite : Rgb(254, 254, 253))) << name;
      EXPECT_EQ(Hex(canvas.Pixel(12, 20)), Hex(hot ? clWhite : Rgb(233, 232, 224))) << name;
    }
  }
}

// Every pixel of frames of several sizes, drawn one pixel in from the edge
// of a canvas whose other pixels must stay untouched.
TEST(ZorvexUtils, RoundFrameLinesAndFourSoftCornersPixelByPixel) {
  const TColor color = Rgb(128, 169, 211);
  for (const auto& [w, h] : {std::pair{9, 8}, {8, 9}, {10, 10}, {6, 6}, {24, 24}}) {
    TRasterCanvas canvas(w + 2, h + 2, kBack);
    DrawRoundFrame(canvas, {1, 1, w + 1, h + 1}, color);
    for (int y = 0; y < h + 2; ++y)
      for (int x = 0; x < w + 2; ++x) {
        const bool inside = x >= 1 && y >= 1 && x <= w && y <= h;
        const TColor want = inside ? RoundFramePixel(w, h, x - 1, y - 1, color, kBack) : kBack;
        ASSERT_EQ(Hex(canvas.Pixel(x, y)), Hex(want)) << w << "x" << h << " at " << x << "," << y;
      }
  }
}

namespace {
// What the face rules put at (x, y) of a 24 x 24 face inside its round
// frame (1 <= x, y <= 22).
TColor FaceInside(int x, int y, bool enabled, bool pressed, bool flat, bool hot) {
  if (pressed) {
    const TColor dark = Rgb(194, 194, 178), mid = Rgb(214, 214, 198), light = Rgb(234, 234, 218);
    const auto shadow = [&](int row) { return GradientLine(mid, dark, row, 5); };  // rows 1 to 5
    if (x == 1) return dark;
    if (x == 2 && y >= 3) return GradientLine(light, shadow(2), y - 3, 20);
    if (x == 3 && y >= 4) return GradientLine(light, shadow(3), y - 4, 19);
    return y <= 5 ? shadow(y - 1) : GradientLine(light, mid, y - 6, 17);
  }
  // The two bevel rings: top-left, bottom-right and their mix at the two
  // other corners.
  struct Ring { TColor topLeft, bottomRight, mixed; };
  const bool orange = enabled && !flat && hot;
  const Ring rings[2] = {
      orange ? Ring{Rgb(249, 226, 202), Rgb(236, 168, 97), Rgb(243, 197, 150)}
             : Ring{Rgb(240, 240, 236), Rgb(214, 214, 198), Rgb(227, 227, 217)},
      orange ? Ring{Rgb(251, 238, 223), Rgb(245, 209, 171), Rgb(248, 224, 197)}
             : Ring{Rgb(245, 245, 241), Rgb(235, 235, 227), Rgb(240, 240, 234)},
  };
  for (int i = 0; i < 2; ++i) {
    const int lo = 1 + i, hi = 22 - i;
    if (x != lo && x != hi && y != lo && y != hi) continue;
    if ((x == hi && y == lo) || (x == lo && y == hi)) return rings[i].mixed;
    return x == hi || y == hi ? rings[i].bottomRight : rings[i].topLeft;
  }
  return hot ? clWhite : GradientLine(Rgb(233, 232, 224), Rgb(254, 254, 253), y - 3, 18);
}
}  // namespace

TEST(ZorvexUtils, ButtonFacePixelByPixelInEveryCombination) {
  for (int bits = 0; bits < 16; ++bits) {
    const bool enabled = bits & 1, pressed = bits & 2, flat = bits & 4, hot = bits & 8;
    TColor frame = enabled ? Rgb(128, 169, 211) : Rgb(189, 189, 189);
    if (pressed && enabled && hot) frame = Rgb(160, 201, 243);
    if (!pressed && enabled && !flat && hot) frame = Rgb(110, 151, 193);
    TRasterCanvas canvas(24, 24, kBack);
    DrawButtonFace(canvas, {0, 0, 24, 24}, enabled, pressed, flat, hot);
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x) {
        const bool inside = x >= 1 && y >= 1 && x <= 22 && y <= 22;
        const TColor under = inside ? FaceInside(x, y, enabled, pressed, flat, hot) : kBack;
        ASSERT_EQ(Hex(canvas.Pixel(x, y)), Hex(RoundFramePixel(24, 24, x, y, frame, under)))
            << "enabled " << enabled << " pressed " << pressed << " flat " << flat << " hot " << hot << " at " << x
            << "," << y;
      }
  }
}
