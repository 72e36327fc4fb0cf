#include "ui/Canvas.h"

#include <cstdlib>

void TCanvas::LineTo(int x, int y) {
  const TPoint from = FPenPos;
  FPenPos = {x, y};
  if (PenStyle == TPenStyle::Clear || from == FPenPos) return;
  const TColor color = ColorToRGB(PenColor);
  if (PenStyle == TPenStyle::Solid && PenWidth <= 1) {
    if (from.Y == y) {
      if (x > from.X) HorizontalLine(from.X, x, y, color);
      else HorizontalLine(x + 1, from.X + 1, y, color);
      return;
    }
    if (from.X == x) {
      if (y > from.Y) VerticalLine(x, from.Y, y, color);
      else VerticalLine(x, y + 1, from.Y + 1, color);
      return;
    }
  }
  PlotLine(from, FPenPos);
}

// Bresenham from `from`, the end point left out; a dotted pen paints every
// other pixel.
void TCanvas::PlotLine(TPoint from, TPoint to) {
  const TColor color = ColorToRGB(PenColor);
  const int dx = std::abs(to.X - from.X), dy = -std::abs(to.Y - from.Y);
  const int sx = from.X < to.X ? 1 : -1, sy = from.Y < to.Y ? 1 : -1;
  int err = dx + dy, step = 0;
  for (TPoint p = from; p != to; ++step) {
    if (PenStyle != TPenStyle::Dot || step % 2 == 0) SetPixel(p.X, p.Y, color);
    const int e2 = 2 * err;
    if (e2 >= dy) { err += dy; p.X += sx; }
    if (e2 <= dx) { err += dx; p.Y += sy; }
  }
}

void TCanvas::Rectangle(const TRect& r) {
  if (PenStyle == TPenStyle::Clear) {
    FillRect({r.Left, r.Top, r.Right - 1, r.Bottom - 1});
    return;
  }
  FillRect(InflatedRect(r, -1, -1));
  const TPoint saved = FPenPos;
  MoveTo(r.Left, r.Top);
  LineTo(r.Right - 1, r.Top);
  LineTo(r.Right - 1, r.Bottom - 1);
  LineTo(r.Left, r.Bottom - 1);
  LineTo(r.Left, r.Top);
  FPenPos = saved;
}

void TCanvas::SetOriginAndClip(TPoint origin, const TRect& clip) {
  FOrigin = origin;
  FClip = clip;
}

TCanvasState::TCanvasState(TCanvas& canvas)
    : FCanvas(canvas), FOrigin(canvas.Origin()), FClip(canvas.ClipRect()),
      FPenColor(canvas.PenColor), FBrushColor(canvas.BrushColor),
      FBrushPatternColor(canvas.BrushPatternColor), FPenWidth(canvas.PenWidth),
      FPenStyle(canvas.PenStyle), FBrushStyle(canvas.BrushStyle), FFont(canvas.Font) {}

TCanvasState::~TCanvasState() {
  FCanvas.SetOriginAndClip(FOrigin, FClip);
  FCanvas.PenColor = FPenColor;
  FCanvas.BrushColor = FBrushColor;
  FCanvas.BrushPatternColor = FBrushPatternColor;
  FCanvas.PenWidth = FPenWidth;
  FCanvas.PenStyle = FPenStyle;
  FCanvas.BrushStyle = FBrushStyle;
  FCanvas.Font = FFont;
}
