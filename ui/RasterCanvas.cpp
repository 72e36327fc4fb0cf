#include "ui/RasterCanvas.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "ui/TextEngine.h"

TRasterCanvas::TRasterCanvas(int width, int height, TColor fill)
    : FWidth(0), FHeight(0), FTextEngine(DefaultTextEngine()) {
  SetSize(width, height, fill);
}

TRasterCanvas::~TRasterCanvas() = default;

void TRasterCanvas::SetSize(int width, int height, TColor fill) {
  std::vector<TColor> pixels(static_cast<size_t>(std::max(width, 0)) * std::max(height, 0),
                             ColorToRGB(fill));
  for (int y = 0; y < std::min(height, FHeight); ++y)
    for (int x = 0; x < std::min(width, FWidth); ++x)
      pixels[static_cast<size_t>(y) * width + x] = FPixels[static_cast<size_t>(y) * FWidth + x];
  FPixels = std::move(pixels);
  FWidth = std::max(width, 0);
  FHeight = std::max(height, 0);
}

bool TRasterCanvas::Visible(int x, int y) const {
  if (!FClip.Contains({x, y})) return false;
  x += FOrigin.X;
  y += FOrigin.Y;
  return x >= 0 && y >= 0 && x < FWidth && y < FHeight;
}

TColor TRasterCanvas::Pixel(int x, int y) const {
  if (!Visible(x, y)) return clInvalid;
  return FPixels[static_cast<size_t>(y + FOrigin.Y) * FWidth + x + FOrigin.X];
}

void TRasterCanvas::SetPixel(int x, int y, TColor color) {
  if (Visible(x, y)) FPixels[static_cast<size_t>(y + FOrigin.Y) * FWidth + x + FOrigin.X] = ColorToRGB(color);
}

void TRasterCanvas::SetDevicePixel(int x, int y, TColor color) {
  if (x >= 0 && y >= 0 && x < FWidth && y < FHeight) FPixels[static_cast<size_t>(y) * FWidth + x] = ColorToRGB(color);
}

void TRasterCanvas::HorizontalLine(int x1, int x2, int y, TColor color) {
  for (int x = x1; x < x2; ++x) SetPixel(x, y, color);
}

void TRasterCanvas::VerticalLine(int x, int y1, int y2, TColor color) {
  for (int y = y1; y < y2; ++y) SetPixel(x, y, color);
}

TColor TRasterCanvas::BrushAt(int deviceX, int deviceY) const {
  if (BrushStyle == TBrushStyle::Pattern && ((deviceX + deviceY) & 1))
    return ColorToRGB(BrushPatternColor);
  return ColorToRGB(BrushColor);
}

void TRasterCanvas::FillRect(const TRect& r) {
  if (BrushStyle == TBrushStyle::Clear) return;
  const TRect area = Intersection(r, FClip);
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x)
      SetPixel(x, y, BrushAt(x + FOrigin.X, y + FOrigin.Y));
}

namespace {
// The top-left quarter of an ellipse filling (0, 0)-(width - 1, height - 1),
// by Zingl's integer algorithm: the points GDI's own rounded rectangles
// under Wine are made of.
std::vector<TPoint> EllipseQuarter(int width, int height) {
  std::vector<TPoint> points;
  const long long a = width - 1, b = height - 1, b1 = b & 1;
  long long dx = 4 * (1 - a) * b * b, dy = 4 * (b1 + 1) * a * a, err = dx + dy + b1 * a * a;
  const long long stepX = 8 * b * b, stepY = 8 * a * a;
  int x0 = 0, x1 = static_cast<int>(a), y1 = static_cast<int>((b + 1) / 2 - b1);
  do {
    points.push_back({x0, y1});
    const long long e2 = 2 * err;
    if (e2 <= dy) {
      --y1;
      err += dy += stepY;
    }
    if (e2 >= dx || 2 * err > dy) {
      ++x0;
      --x1;
      err += dx += stepX;
    }
  } while (x0 <= x1);
  return points;
}
}  // namespace

// The outline: the four quarters of the corner ellipse mirrored into the
// corners, joined by straight edges; the brush fills between the outline's
// left and right parts of each row. Right column and bottom row excluded.
void TRasterCanvas::RoundRect(const TRect& r, int ellipseWidth, int ellipseHeight) {
  const int W = r.Width(), H = r.Height();
  if (W <= 0 || H <= 0) return;
  const int ew = std::clamp(ellipseWidth, 1, W), eh = std::clamp(ellipseHeight, 1, H);
  std::vector<char> outline(static_cast<size_t>(W) * H, 0);
  auto mark = [&](int x, int y) {
    if (x >= 0 && y >= 0 && x < W && y < H) outline[static_cast<size_t>(y) * W + x] = 1;
  };
  int top = W, side = H;  // where the straight edges begin
  for (const TPoint p : EllipseQuarter(ew, eh)) {
    mark(p.X, p.Y);
    mark(W - 1 - p.X, p.Y);
    mark(p.X, H - 1 - p.Y);
    mark(W - 1 - p.X, H - 1 - p.Y);
    if (p.Y == 0) top = std::min(top, p.X);
    if (p.X == 0) side = std::min(side, p.Y);
  }
  for (int x = top; x <= W - 1 - top; ++x) {
    mark(x, 0);
    mark(x, H - 1);
  }
  for (int y = side; y <= H - 1 - side; ++y) {
    mark(0, y);
    mark(W - 1, y);
  }
  const bool pen = PenStyle != TPenStyle::Clear;
  for (int y = 0; y < H; ++y) {
    const char* row = &outline[static_cast<size_t>(y) * W];
    int leftEnd = -1, rightStart = W;
    for (int x = 0; x < W; ++x)
      if (row[x]) {
        if (x < W / 2 || (x == W / 2 && W % 2)) leftEnd = x;
        else if (rightStart == W) rightStart = x;
      }
    for (int x = 0; x < W; ++x) {
      if (row[x]) {
        if (pen) SetPixel(r.Left + x, r.Top + y, PenColor);
      } else if (x > leftEnd && x < rightStart && leftEnd >= 0 && BrushStyle != TBrushStyle::Clear) {
        SetPixel(r.Left + x, r.Top + y, BrushAt(r.Left + x + FOrigin.X, r.Top + y + FOrigin.Y));
      }
    }
  }
}

namespace {

struct TTextLine {
  std::string Text;
  int Underline = -1;  // index of the character after "&", or -1
};

TTextLine PrepareLine(std::string_view line, unsigned flags) {
  TTextLine out;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '&' && !(flags & dtNoPrefix) && i + 1 < line.size()) {
      c = line[++i];
      if (c != '&') out.Underline = static_cast<int>(out.Text.size());
    }
    if (c == '\t' && (flags & dtExpandTabs)) {
      do out.Text += ' '; while (out.Text.size() % 8 != 0);
      continue;
    }
    out.Text += c;
  }
  return out;
}

std::vector<std::string_view> SplitLines(std::string_view text, unsigned flags) {
  std::vector<std::string_view> lines;
  if (flags & dtSingleLine) return {text};
  size_t start = 0;
  for (;;) {
    size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) return lines;
    start = end + 1;
  }
}

// Breaks a line between words so that every piece fits `width` where it can.
std::vector<TTextLine> WrapLine(TTextLine line, int width, TTextEngine& engine, const TFont& font) {
  std::vector<TTextLine> pieces;
  while (engine.Extent(font, line.Text).cx > width) {
    size_t cut = line.Text.rfind(' ');
    while (cut != std::string::npos && cut > 0 &&
           engine.Extent(font, std::string_view(line.Text).substr(0, cut)).cx > width)
      cut = line.Text.rfind(' ', cut - 1);
    if (cut == std::string::npos || cut == 0) break;
    TTextLine head{line.Text.substr(0, cut), line.Underline < static_cast<int>(cut) ? line.Underline : -1};
    pieces.push_back(head);
    const int shift = static_cast<int>(cut) + 1;
    line.Text.erase(0, cut + 1);
    line.Underline = line.Underline >= shift ? line.Underline - shift : -1;
  }
  pieces.push_back(line);
  return pieces;
}

}  // namespace

namespace {
// The lines to draw: split at line ends (unless single-line), prefixes and
// tabs resolved, wrapped at word gaps to `width` when asked to.
std::vector<TTextLine> LayoutLines(std::string_view text, int width, unsigned flags, TTextEngine& engine,
                                   const TFont& font) {
  std::vector<TTextLine> lines;
  for (std::string_view raw : SplitLines(text, flags)) {
    TTextLine line = PrepareLine(raw, flags);
    if ((flags & dtWordBreak) && !(flags & dtSingleLine)) {
      for (TTextLine& piece : WrapLine(std::move(line), width, engine, font)) lines.push_back(std::move(piece));
    } else {
      lines.push_back(std::move(line));
    }
  }
  return lines;
}
}  // namespace

int TRasterCanvas::DrawText(std::string_view text, TRect& r, unsigned flags) {
  // As the platform's: no text measures nothing and leaves the rectangle.
  if (text.empty()) return 0;
  TTextEngine& engine = *FTextEngine;
  const std::vector<TTextLine> lines = LayoutLines(text, r.Width(), flags, engine, Font);
  const int lineHeight = engine.Extent(Font, "M").cy;
  const int total = lineHeight * static_cast<int>(lines.size());
  if (flags & dtCalcRect) {
    int widest = 0;
    for (const TTextLine& line : lines) widest = std::max(widest, engine.Extent(Font, line.Text).cx);
    r.Right = r.Left + widest;
    r.Bottom = r.Top + total;
    return total;
  }
  int y = r.Top;
  if (flags & dtSingleLine) {
    if (flags & dtVCenter) y = r.Top + (r.Height() - lineHeight) / 2;
    else if (flags & dtBottom) y = r.Bottom - lineHeight;
  }
  const TRect savedClip = FClip;
  if (!(flags & dtNoClip)) FClip = Intersection(FClip, r);
  for (const TTextLine& line : lines) {
    const int width = engine.Extent(Font, line.Text).cx;
    int x = r.Left;
    if (flags & dtCenter) x = r.Left + (r.Width() - width) / 2;
    else if (flags & dtRight) x = r.Right - width;
    DrawTextLine(line.Text, line.Underline, x, y, lineHeight);
    y += lineHeight;
  }
  FClip = savedClip;
  return total;
}

// One line at (x, y), the accelerator underlined, its rectangle noted.
void TRasterCanvas::DrawTextLine(std::string_view text, int underline, int x, int y, int lineHeight) {
  TTextEngine& engine = *FTextEngine;
  const TColor color = ColorToRGB(Font.Color);
  engine.Draw(*this, x, y, Font, text, color);
  if (underline >= 0) {
    const int from = x + engine.Extent(Font, text.substr(0, underline)).cx;
    const int to = x + engine.Extent(Font, text.substr(0, underline + 1)).cx;
    HorizontalLine(from, to, y + lineHeight - 1, color);
  }
  const TRect drawn = Intersection({x, y, x + engine.Extent(Font, text).cx, y + lineHeight}, FClip);
  if (!drawn.IsEmpty()) FTextRects.push_back(OffsetRect(drawn, FOrigin.X, FOrigin.Y));
}

TSize TRasterCanvas::TextExtent(std::string_view text) { return FTextEngine->Extent(Font, text); }

void TRasterCanvas::SetTextEngine(std::shared_ptr<TTextEngine> engine) { FTextEngine = std::move(engine); }

std::vector<TRect> TRasterCanvas::TakeTextRects() { return std::exchange(FTextRects, {}); }

// One ring of an edge: the top-left colour down the left column and along
// the top row, the bottom-right colour along the bottom row and up the right
// column, which take the two far corners.
void TRasterCanvas::DrawEdgeLines(const TRect& r, TColor topLeft, TColor bottomRight, unsigned flags) {
  const TColor tl = ColorToRGB(topLeft), br = ColorToRGB(bottomRight);
  if (flags & bfLeft) VerticalLine(r.Left, r.Top, r.Bottom, tl);
  if (flags & bfTop) HorizontalLine(r.Left, r.Right, r.Top, tl);
  if (flags & bfRight) VerticalLine(r.Right - 1, r.Top, r.Bottom, br);
  if (flags & bfBottom) HorizontalLine(r.Left, r.Right, r.Bottom - 1, br);
}

void TRasterCanvas::DrawEdge(TRect& r, unsigned edge, unsigned flags) {
  TRect inner = r;
  const bool soft = flags & bfSoft;
  if (edge & (bdrRaisedOuter | bdrSunkenOuter)) {
    if (edge & bdrRaisedOuter) DrawEdgeLines(inner, soft ? clBtnHighlight : cl3DLight, cl3DDkShadow, flags);
    else DrawEdgeLines(inner, soft ? cl3DDkShadow : clBtnShadow, clBtnHighlight, flags);
    inner = InflatedRect(inner, -1, -1);
  }
  if (edge & (bdrRaisedInner | bdrSunkenInner)) {
    if (edge & bdrRaisedInner) DrawEdgeLines(inner, soft ? cl3DLight : clBtnHighlight, clBtnShadow, flags);
    else DrawEdgeLines(inner, soft ? clBtnShadow : cl3DDkShadow, cl3DLight, flags);
    inner = InflatedRect(inner, -1, -1);
  }
  if (flags & bfMiddle) {
    const TColor savedColor = BrushColor;
    const TBrushStyle savedStyle = BrushStyle;
    BrushColor = clBtnFace;
    BrushStyle = TBrushStyle::Solid;
    FillRect(inner);
    BrushColor = savedColor;
    BrushStyle = savedStyle;
  }
  if (flags & bfAdjust) r = inner;
}

void TRasterCanvas::DrawFrameControl(TRect& r, unsigned type, unsigned state) {
  if (type != dfcButton || (state & 0xFF) != dfcsButtonPush) return;
  const unsigned edge = (state & dfcsPushed) ? edgeSunken : edgeRaised;
  TRect frame = r;
  DrawEdge(frame, edge, bfRect | bfSoft | bfMiddle | bfAdjust);
  if (state & dfcsAdjustRect) r = frame;
}
