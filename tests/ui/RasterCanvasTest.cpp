#include <gtest/gtest.h>

#include <string>

#include "ui/Bitmap.h"
#include "ui/ImageList.h"
#include "ui/RasterCanvas.h"
#include "ui/TextEngine.h"

namespace {
constexpr TColor kBack = Rgb(1, 2, 3);  // a colour nothing paints

// The painted pixels as a picture: '#' for `ink`, '.' for the background.
std::string Picture(const TRasterCanvas& canvas, TColor ink) {
  std::string out;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x)
      out += canvas.Pixel(x, y) == ink ? '#' : canvas.Pixel(x, y) == kBack ? '.' : '?';
    out += '\n';
  }
  return out;
}
}  // namespace

TEST(RasterCanvas, LinesPaintTheirStartButNotTheirEnd) {
  TRasterCanvas canvas(5, 4, kBack);
  canvas.PenColor = clRed;
  canvas.MoveTo(0, 0);
  canvas.LineTo(3, 0);  // right
  canvas.LineTo(3, 3);  // down
  canvas.MoveTo(4, 3);
  canvas.LineTo(4, 1);  // up
  canvas.MoveTo(2, 2);
  canvas.LineTo(0, 2);  // left
  EXPECT_EQ(Picture(canvas, clRed),
            "####.\n"
            "...#.\n"
            ".####\n"
            "....#\n");
}

TEST(RasterCanvas, RectanglesLeaveOutRightAndBottom) {
  TRasterCanvas canvas(6, 5, kBack);
  canvas.BrushColor = clRed;
  canvas.FillRect({1, 1, 4, 3});
  EXPECT_EQ(Picture(canvas, clRed), "......\n.###..\n.###..\n......\n......\n");

  TRasterCanvas outlined(6, 5, kBack);
  outlined.PenColor = clRed;
  outlined.BrushStyle = TBrushStyle::Clear;
  outlined.Rectangle({0, 0, 5, 4});
  EXPECT_EQ(Picture(outlined, clRed), "#####.\n#...#.\n#...#.\n#####.\n......\n");

  TRasterCanvas penless(6, 5, kBack);  // without a pen GDI fills one less
  penless.PenStyle = TPenStyle::Clear;
  penless.BrushColor = clRed;
  penless.Rectangle({0, 0, 5, 4});
  EXPECT_EQ(Picture(penless, clRed), "####..\n####..\n####..\n......\n......\n");
}

TEST(RasterCanvas, ReadsOutsideTheRasterOrClipFail) {
  TRasterCanvas canvas(3, 3, kBack);
  for (const TPoint p : {TPoint{-1, 0}, TPoint{0, -1}, TPoint{3, 0}, TPoint{0, 3}})
    EXPECT_EQ(canvas.Pixel(p.X, p.Y), clInvalid);
  canvas.SetPixel(5, 5, clRed);  // ignored
  canvas.SetPixel(1, 1, clBtnFace);
  EXPECT_EQ(canvas.Pixel(1, 1), SysColor(15));  // system colours stored resolved
  canvas.SetOriginAndClip({1, 1}, {0, 0, 1, 1});
  EXPECT_EQ(canvas.Pixel(0, 0), SysColor(15));
  EXPECT_EQ(canvas.Pixel(1, 0), clInvalid);
}

TEST(RasterCanvas, PatternBrushIsACheckerFromTheOrigin) {
  TRasterCanvas canvas(3, 2, kBack);
  canvas.BrushStyle = TBrushStyle::Pattern;
  canvas.BrushColor = clRed;
  canvas.BrushPatternColor = clBlue;
  canvas.FillRect({0, 0, 3, 2});
  EXPECT_EQ(Picture(canvas, clRed), "#?#\n?#?\n");
}

TEST(RasterCanvas, FixedTextMetricsPrefixesAndCalcRect) {
  TRasterCanvas canvas(60, 20, kBack);
  canvas.Font.Height = -11;  // cells of 5 x 13
  EXPECT_EQ(canvas.TextExtent("abc"), (TSize{15, 13}));
  struct Case { const char* text; unsigned flags; TRect want; } cases[] = {
      {"a&bc", 0, {0, 0, 15, 13}},             // the prefix takes no room
      {"a&bc", dtNoPrefix, {0, 0, 20, 13}},   // shown literally
      {"a&&b", 0, {0, 0, 15, 13}},             // "&&" is one ampersand
      {"a\tb", dtExpandTabs, {0, 0, 45, 13}}, // tab stops every 8 characters
      {"ab\ncd", 0, {0, 0, 10, 26}},
      {"", 0, {0, 0, 0, 0}},                   // no text: the rectangle stays
  };
  for (const Case& c : cases) {
    TRect r{0, 0, 0, 0};
    canvas.DrawText(c.text, r, c.flags | dtCalcRect);
    EXPECT_EQ(r, c.want) << c.text;
  }
  TRect r{10, 0, 50, 20};
  canvas.DrawText("ab", r, dtCenter | dtVCenter | dtSingleLine);
  const auto rects = canvas.TakeTextRects();
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0], (TRect{25, 3, 35, 16}));
}

TEST(Bitmap, LoadsBmpAndTakesBottomLeftAsTransparent) {
  // 2 x 2, 4 bits per pixel, bottom-up: bottom row colours 1, 2; top 3, 0.
  std::vector<std::uint8_t> dib(40 + 16 * 4 + 8, 0);
  dib[0] = 40; dib[4] = 2; dib[8] = 2; dib[12] = 1; dib[14] = 4;
  const TColor palette[4] = {Rgb(0, 0, 0), Rgb(255, 0, 255), Rgb(0, 128, 0), Rgb(10, 20, 30)};
  for (int i = 0; i < 4; ++i) {
    dib[40 + i * 4] = static_cast<std::uint8_t>(BlueOf(palette[i]));
    dib[41 + i * 4] = static_cast<std::uint8_t>(GreenOf(palette[i]));
    dib[42 + i * 4] = static_cast<std::uint8_t>(RedOf(palette[i]));
  }
  dib[104] = 0x12;  // bottom row
  dib[108] = 0x30;  // top row
  TBitmap bitmap;
  int changes = 0;
  bitmap.OnChange = [&](TBitmap&) { ++changes; };
  ASSERT_TRUE(bitmap.LoadFromBmp(dib));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(bitmap.Pixel(0, 0), palette[3]);
  EXPECT_EQ(bitmap.Pixel(1, 1), palette[2]);
  EXPECT_EQ(bitmap.TransparentColor(), palette[1]);
  bitmap.SetTransparentColor(clBlack);
  EXPECT_EQ(bitmap.TransparentColor(), clBlack);
  dib[14] = 5;  // unsupported depth: refused, bitmap unchanged
  EXPECT_FALSE(bitmap.LoadFromBmp(dib));
  EXPECT_EQ(bitmap.Width(), 2);
}

TEST(ImageList, MaskLeavesTransparentPixelsOrPaintsThem) {
  TBitmap image(2, 1, clRed);
  image.SetPixel(0, 0, clBlue);
  TImageList list(2, 1);
  const int index = list.Add(image, clBlue);
  TRasterCanvas canvas(2, 1, kBack);
  list.Draw(canvas, 0, 0, index);
  EXPECT_EQ(canvas.Pixel(0, 0), kBack);
  EXPECT_EQ(canvas.Pixel(1, 0), clRed);
  list.Draw(canvas, 0, 0, index, clWhite);
  EXPECT_EQ(canvas.Pixel(0, 0), clWhite);
  const int byCorner = list.Add(image, clDefault);  // the bottom-left pixel's colour: blue
  EXPECT_TRUE(list.Masked(byCorner, 0, 0));
  EXPECT_FALSE(list.Masked(byCorner, 1, 0));
}
