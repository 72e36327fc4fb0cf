#include "ControlsTestUtil.h"

#include "controls/ZorvexButton.h"
#include "controls/ZorvexHelpBox2.h"
#include "controls/ZorvexPanel.h"
#include "ui/Edit.h"

namespace {
// The default font's fixed metrics: "M" is 13 high, characters 5 wide.
constexpr int kTextHeight = 13, kCharWidth = 5, kGlyph = 17;

TRasterCanvas Paint(TWinControl& control) {
  TRasterCanvas canvas(control.Width(), control.Height(), kBack);
  control.PaintTo(canvas);
  return canvas;
}
}  // namespace

TEST(ZorvexHelpBox2, TabBodyAndClientInTheModernLook) {
  TDisplay display(32);
  TZorvexHelpBox2 box(nullptr);
  box.SetBounds(0, 0, 100, 60);
  box.SetCaption("Info");
  const int HH = kTextHeight + 5, TW = 4 * kCharWidth + kGlyph + 13;
  EXPECT_EQ(box.Color(), Rgb(255, 255, 225));
  EXPECT_EQ(box.AdjustedClientRect(), (TRect{5, HH + 5, 95, 55}));
  const TRasterCanvas canvas = Paint(box);
  const TColor line = Rgb(178, 178, 162);
  struct Probe { int x, y; TColor want; } probes[] = {
      {TW, 5, line}, {TW - 1, 5, Rgb(205, 205, 189)}, {TW - 2, 5, Rgb(209, 209, 193)},
      {TW - 3, HH, Rgb(214, 214, 198)},                // tab face
      {TW + 5, 5, SysColor(15)},                       // beside the tab: button face
      {60, HH, line}, {99, 30, line}, {0, 30, line}, {50, 59, line},
      {1, 30, Rgb(224, 224, 200)}, {2, 30, Rgb(240, 240, 212)}, {50, 40, Rgb(255, 255, 225)},
  };
  for (const Probe& p : probes) EXPECT_EQ(Hex(canvas.Pixel(p.x, p.y)), Hex(p.want)) << p.x << "," << p.y;
  // The glyph: its transparent corner shows the tab, its badge is drawn.
  EXPECT_EQ(canvas.Pixel(4, HH / 2 - kGlyph / 2 + 2), Rgb(214, 214, 198));
  EXPECT_EQ(canvas.Pixel(4 + 8, HH / 2 - kGlyph / 2 + 8), HelpBoxGlyph()->Pixel(8, 8));
}

TEST(ZorvexHelpBox2, TabWidthFollowsTheCaptionAmpersandsIncluded) {
  TDisplay display(32);
  TZorvexHelpBox2 box(nullptr);
  box.SetBounds(0, 0, 100, 60);
  EXPECT_EQ(box.TabWidth(box.MeasureCanvas()), kGlyph + 8);
  box.SetCaption("A&B");
  EXPECT_EQ(box.TabWidth(box.MeasureCanvas()), 3 * kCharWidth + kGlyph + 13);
  TRasterCanvas canvas(100, 60, kBack);
  box.PaintTo(canvas);
  const auto texts = canvas.TakeTextRects();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], (TRect{kGlyph + 7, 3, kGlyph + 7 + 3 * kCharWidth, 3 + kTextHeight}));
}

TEST(ZorvexHelpBox2, ClassicLookAtExactly256ColoursWithTheTrueColourGlyph) {
  TDisplay display(8);
  TBitmap trueColour;
  ASSERT_TRUE(trueColour.LoadFromResourceName("ZXHB_GLYPH_256"));
  for (int i = 0; i < 17 * 17; ++i) ASSERT_EQ(HelpBoxGlyph()->Pixel(i % 17, i / 17), trueColour.Pixel(i % 17, i / 17));
  TZorvexHelpBox2 box(nullptr);
  box.SetBounds(0, 0, 100, 60);
  box.SetCaption("Info");
  EXPECT_EQ(box.Color(), clInfoBk);
  const TRasterCanvas canvas = Paint(box);
  const int HH = kTextHeight + 5, TW = 4 * kCharWidth + kGlyph + 13;
  EXPECT_EQ(canvas.Pixel(TW / 2, 1), SysColor(16));       // the tab in the shadow colour
  EXPECT_EQ(canvas.Pixel(50, 40), SysColor(24));          // the body
  EXPECT_EQ(canvas.Pixel(3, HH + 3), SysColor(24));       // squared under the tab
  EXPECT_EQ(canvas.Pixel(TW + 5, 3), SysColor(15));
  EXPECT_EQ(box.AdjustedClientRect(), (TRect{5, HH + 5, 95, 55}));
}

TEST(ZorvexPanel, BandFadesAndCornersInTheModernLook) {
  TDisplay display(32);
  TZorvexPanel panel(nullptr);
  panel.SetBounds(0, 0, 200, 60);
  panel.SetColor(clBtnFace);
  panel.SetCaption("Cap");
  EXPECT_EQ(panel.AdjustedClientRect(), (TRect{7, 1 + kTextHeight + 6, 199, 59}));
  const TRasterCanvas canvas = Paint(panel);
  const TColor face = SysColor(15), shadow = SysColor(16);
  const int bandBottom = kTextHeight + 5, E = 25 + (200 - 25) / 2;
  auto step = [](TColor a, TColor b, int i, int n) {  // step i of n from A to B
    TColor out = 0;
    for (int s = 0; s < 24; s += 8) {
      const int from = (a >> s) & 0xFF, to = (b >> s) & 0xFF;
      out |= static_cast<TColor>((from + i * (to - from) / (n - 1)) & 0xFF) << s;
    }
    return out;
  };
  struct Probe { int x, y; TColor want; } probes[] = {
      {0, 0, MixColors(shadow, face, 10)}, {1, 0, MixColors(shadow, face, 50)}, {0, 1, MixColors(shadow, face, 50)},
      {2, 2, MixColors(CaptionColor, shadow, 50)},
      {3, 10, step(face, CaptionColor, E - 2 - 2, E - 2)},  // band, second column
      {E - 1, 10, face}, {E, 0, face},                      // faded out at E
      {10, bandBottom, step(face, shadow, E - 2 - 9, E - 2)},  // line under the band
      {1, 30, step(face, shadow, 60 - 1 - 30, 60)},         // left edge
      {1, 59, face},
  };
  for (const Probe& p : probes) EXPECT_EQ(Hex(canvas.Pixel(p.x, p.y)), Hex(p.want)) << p.x << "," << p.y;
}

TEST(ZorvexPanel, NarrowPanelAndEmptyCaptions) {
  TDisplay display(32);
  TZorvexPanel panel(nullptr);
  panel.SetColor(clWhite);
  panel.SetBounds(0, 0, 20, 30);
  panel.SetCaption("Cap");  // band wider than the panel: fades end at the edge
  TRasterCanvas canvas = Paint(panel);
  EXPECT_EQ(canvas.Pixel(19, 0), clWhite);
  EXPECT_EQ(canvas.Pixel(19, 3), clWhite);  // (a row the caption's text leaves free)
  EXPECT_NE(canvas.Pixel(18, 3), clWhite);
  panel.SetCaption("");
  EXPECT_EQ(panel.AdjustedClientRect(), (TRect{7, 1, 19, 29}));
  canvas = Paint(panel);
  EXPECT_EQ(canvas.Pixel(10, 0), clWhite);  // only the colour and the left edge
  EXPECT_NE(canvas.Pixel(0, 0), clWhite);
  panel.SetSubCaption("x");
  EXPECT_EQ(panel.AdjustedClientRect().Top, 1 + kTextHeight + 6);
}

TEST(ZorvexPanel, ClassicCaptionBlockAndBar) {
  TDisplay display(8);
  TZorvexPanel panel(nullptr);
  panel.SetBounds(0, 0, 100, 40);
  panel.SetColor(clWhite);
  panel.SetCaption("Cap");
  const TRasterCanvas canvas = Paint(panel);
  EXPECT_EQ(canvas.Pixel(1, 1), clGray);
  EXPECT_EQ(canvas.Pixel(3 * kCharWidth + 7, kTextHeight + 4), clGray);
  EXPECT_EQ(canvas.Pixel(3 * kCharWidth + 8, 2), clWhite);
  EXPECT_EQ(canvas.Pixel(1, 39), clGray);
  EXPECT_EQ(canvas.Pixel(2, 39), clWhite);
}

TEST(ZorvexPanel, AcceleratorFocusesTheFocusControl) {
  TZorvexPanel panel(nullptr);
  panel.SetCaption("&Formula");
  auto* edit = new TEdit(nullptr);
  edit->SetParent(&panel);
  TZorvexButton button(nullptr);  // a child with the same accelerator
  button.SetParent(&panel);
  button.SetCaption("&Fix");
  int clicks = 0;
  button.OnClick = [&](TControl&) { ++clicks; };
  panel.SetFocusControl(edit);

  EXPECT_EQ(panel.Perform(CM_DIALOGCHAR, 'f'), 1);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(clicks, 0);
  edit->SetEnabled(false);  // cannot take the focus: swallowed all the same
  EXPECT_EQ(panel.Perform(CM_DIALOGCHAR, 'F'), 0);
  EXPECT_EQ(clicks, 0);
  panel.SetShowAccelChar(false);  // "&" literal: passed on to the children
  EXPECT_EQ(panel.Perform(CM_DIALOGCHAR, 'f'), 1);
  EXPECT_EQ(clicks, 1);
  delete edit;
  EXPECT_EQ(panel.FocusControl(), nullptr);
}

// The six corners of tab and body, each 3 x 3 pixel block as the drawing
// rules leave it: the soft corner blended over what was drawn beneath it
// (L line, F button face, a and b the tab's inner lines, 4 and 2 the body's
// outlines, T the body). The body's top-left joins the tab square.
TEST(ZorvexHelpBox2, EveryCornerOfTabAndBodyPixelByPixel) {
  TDisplay display(32);
  TZorvexHelpBox2 box(nullptr);
  box.SetBounds(0, 0, 100, 60);
  box.SetCaption("Info");
  const int HH = kTextHeight + 5, TW = 4 * kCharWidth + kGlyph + 13, W = 100, H = 60;
  const TRasterCanvas canvas = Paint(box);
  const TColor line = Rgb(178, 178, 162);
  auto colour = [&](char c) {
    switch (c) {
      case 'L': return line;
      case 'F': return SysColor(15);
      case 'a': return Rgb(205, 205, 189);
      case 'b': return Rgb(209, 209, 193);
      case '4': return Rgb(224, 224, 200);
      case '2': return Rgb(240, 240, 212);
      default: return Rgb(255, 255, 225);
    }
  };
  struct Corner { const char* name; int x, y, pattern; const char* under; } corners[] = {
      {"tab top-left", 0, 0, kTopLeft, "FFL" "Faa" "Lab"},
      {"tab top-right", TW - 2, 0, kTopRight, "LFF" "aaF" "baL"},
      {"body top-left", 0, HH, -1, "Lab" "L44" "L42"},
      {"body top-right", W - 3, HH, kTopRight, "LFF" "44F" "24L"},
      {"body bottom-right", W - 3, H - 3, kBottomRight, "24L" "44F" "LFF"},
      {"body bottom-left", 0, H - 3, kBottomLeft, "L42" "F44" "FFL"},
  };
  for (const Corner& c : corners)
    for (int i = 0; i < 9; ++i) {
      const int alpha = c.pattern < 0 ? 0 : kCornerAlphas[c.pattern][i];
      EXPECT_EQ(Hex(canvas.Pixel(c.x + i % 3, c.y + i / 3)), Hex(Blend(line, colour(c.under[i]), alpha)))
          << c.name << " row " << i / 3 << " column " << i % 3;
    }
}

// The glyph's every opaque pixel at (4, HH div 2 - Gh div 2), for fonts
// that make the tab taller.
TEST(ZorvexHelpBox2, GlyphCentredInTheTabForEveryFontHeight) {
  TDisplay display(32);
  const TBitmap& glyph = *HelpBoxGlyph();
  for (const int height : {-11, -20, -25}) {
    TZorvexHelpBox2 box(nullptr);
    box.SetBounds(0, 0, 120, 80);
    TFont font = box.Font();
    font.Height = height;
    box.SetFont(font);
    box.SetCaption("Info");
    const int top = (-height + 2 + 5) / 2 - kGlyph / 2;
    const TRasterCanvas canvas = Paint(box);
    for (int y = 0; y < kGlyph; ++y)
      for (int x = 0; x < kGlyph; ++x)
        if (glyph.Pixel(x, y) != glyph.TransparentColor()) {
          ASSERT_EQ(Hex(canvas.Pixel(4 + x, top + y)), Hex(glyph.Pixel(x, y))) << height << " at " << x << "," << y;
        }
  }
}
