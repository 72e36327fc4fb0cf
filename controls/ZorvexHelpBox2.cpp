#include "controls/ZorvexHelpBox2.h"

#include "controls/ZorvexUtils.h"

namespace {
// A function-local static: made by the start-up (inside the controls'
// start-up object's construction), so it outlives that object's release
// at unload, whatever the order of the units.
std::unique_ptr<TBitmap>& Glyph() {
  static std::unique_ptr<TBitmap> glyph;
  return glyph;
}
}  // namespace

const TBitmap* HelpBoxGlyph() { return Glyph().get(); }

void InitZorvexHelpBox2() {
  Glyph() = std::make_unique<TBitmap>();
  Glyph()->LoadFromResourceName(ScreenColors < 256 ? "ZXHB_GLYPH_16" : "ZXHB_GLYPH_256");
}

void DoneZorvexHelpBox2() { Glyph().reset(); }

namespace {
int GlyphWidth() { return HelpBoxGlyph() ? HelpBoxGlyph()->Width() : 0; }
int GlyphHeight() { return HelpBoxGlyph() ? HelpBoxGlyph()->Height() : 0; }

void Line(TCanvas& canvas, std::initializer_list<TPoint> points) {
  auto it = points.begin();
  canvas.MoveTo(it->X, it->Y);
  for (++it; it != points.end(); ++it) canvas.LineTo(it->X, it->Y);
}
}  // namespace

TZorvexHelpBox2::TZorvexHelpBox2(TComponent* owner) : TPanel(owner) {
  SetColor(ModernLook() ? Rgb(255, 255, 225) : clInfoBk);
}

int TZorvexHelpBox2::TabWidth(TCanvas& canvas) const {
  canvas.Font = Font();
  if (Caption().empty()) return GlyphWidth() + 8;
  return canvas.TextWidth(Caption()) + GlyphWidth() + 13;
}

int TZorvexHelpBox2::TabHeight(TCanvas& canvas) const {
  canvas.Font = Font();
  return canvas.TextHeight("M") + 5;
}

void TZorvexHelpBox2::AdjustClientRect(TRect& rect) {
  rect.Top += TabHeight(MeasureCanvas());
  rect = InflatedRect(rect, -5, -5);
}

void TZorvexHelpBox2::Paint(TCanvas& canvas) {
  const int W = Width(), H = Height();
  const int TW = TabWidth(canvas), HH = TabHeight(canvas);
  canvas.Font = Font();
  canvas.BrushStyle = TBrushStyle::Solid;
  canvas.PenStyle = TPenStyle::Solid;
  canvas.PenWidth = 1;
  canvas.BrushColor = clBtnFace;
  canvas.FillRect({0, 0, W, H});

  if (ModernLook()) {
    const TColor face = Rgb(214, 214, 198), line = Rgb(178, 178, 162), tip = Rgb(255, 255, 225);
    canvas.Font.Color = clBlack;
    canvas.PenColor = MixColors(line, face, 25);
    Line(canvas, {{1, HH}, {1, 1}, {TW - 1, 1}, {TW - 1, HH + 1}});
    canvas.PenColor = MixColors(line, face, 15);
    Line(canvas, {{2, HH}, {2, 2}, {TW - 2, 2}, {TW - 2, HH + 1}});
    canvas.BrushColor = face;
    canvas.FillRect({3, 3, TW - 2, HH + 1});
    canvas.PenColor = line;
    Line(canvas, {{0, 2}, {0, HH}});
    Line(canvas, {{2, 0}, {TW - 1, 0}});
    Line(canvas, {{TW, 2}, {TW, HH}});
    DrawAlphaCorner(canvas, 0, 0, line, CornerTopLeft);
    DrawAlphaCorner(canvas, TW - 2, 0, line, CornerTopRight);

    canvas.BrushStyle = TBrushStyle::Clear;
    canvas.PenColor = MixColors(line, tip, 40);
    canvas.Rectangle({1, HH + 1, W - 1, H - 1});
    canvas.PenColor = MixColors(line, tip, 20);
    canvas.Rectangle({2, HH + 2, W - 2, H - 2});
    canvas.BrushStyle = TBrushStyle::Solid;
    canvas.BrushColor = tip;
    canvas.FillRect({3, HH + 3, W - 2, H - 3});
    canvas.PenColor = line;
    Line(canvas, {{TW, HH}, {W - 2, HH}});
    Line(canvas, {{W - 1, HH + 2}, {W - 1, H - 2}});
    Line(canvas, {{2, H - 1}, {W - 2, H - 1}});
    Line(canvas, {{0, HH}, {0, H - 2}});
    DrawAlphaCorner(canvas, W - 3, HH, line, CornerTopRight);
    DrawAlphaCorner(canvas, W - 3, H - 3, line, CornerBottomRight);
    DrawAlphaCorner(canvas, 0, H - 3, line, CornerBottomLeft);
  } else {
    canvas.Font.Color = clBtnHighlight;
    canvas.PenColor = clBtnShadow;
    canvas.BrushColor = clBtnShadow;
    canvas.RoundRect({0, 0, TW, HH + 10}, 10, 10);
    canvas.BrushColor = clInfoBk;
    canvas.RoundRect({0, HH, W, H}, 10, 10);
    canvas.PenStyle = TPenStyle::Clear;
    canvas.Rectangle({1, HH + 1, 10, HH + 10});
    canvas.PenStyle = TPenStyle::Solid;
  }

  canvas.BrushStyle = TBrushStyle::Clear;
  if (const TBitmap* glyph = HelpBoxGlyph(); glyph && !glyph->Empty())
    canvas.Draw(4, HH / 2 - GlyphHeight() / 2, *glyph, glyph->TransparentColor());
  if (!Caption().empty()) {
    TRect at{GlyphWidth() + 7, 3, GlyphWidth() + 7, 3};
    canvas.DrawText(Caption(), at, dtNoPrefix | dtNoClip);
  }
}
