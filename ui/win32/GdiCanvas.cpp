#include "ui/win32/GdiCanvas.h"

#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "ui/Platform.h"

// The canvas's flags go to GDI as they are.
static_assert(dtLeft == DT_LEFT && dtCenter == DT_CENTER && dtRight == DT_RIGHT && dtVCenter == DT_VCENTER &&
              dtBottom == DT_BOTTOM && dtWordBreak == DT_WORDBREAK && dtSingleLine == DT_SINGLELINE &&
              dtExpandTabs == DT_EXPANDTABS && dtNoClip == DT_NOCLIP && dtCalcRect == DT_CALCRECT &&
              dtNoPrefix == DT_NOPREFIX && dtRtlReading == DT_RTLREADING);
static_assert(bdrRaisedOuter == BDR_RAISEDOUTER && bdrSunkenOuter == BDR_SUNKENOUTER &&
              bdrRaisedInner == BDR_RAISEDINNER && bdrSunkenInner == BDR_SUNKENINNER && edgeRaised == EDGE_RAISED &&
              edgeSunken == EDGE_SUNKEN);
static_assert(bfLeft == BF_LEFT && bfTop == BF_TOP && bfRight == BF_RIGHT && bfBottom == BF_BOTTOM &&
              bfRect == BF_RECT && bfMiddle == BF_MIDDLE && bfSoft == BF_SOFT && bfAdjust == BF_ADJUST);
static_assert(dfcButton == DFC_BUTTON && dfcsButtonPush == DFCS_BUTTONPUSH && dfcsPushed == DFCS_PUSHED &&
              dfcsAdjustRect == DFCS_ADJUSTRECT);

HFONT FontHandle(const TFont& font) {
  static std::map<std::tuple<std::string, int, bool>, TGdiObject<HFONT>> fonts;
  auto& slot = fonts[{font.Name, font.Height, font.Bold}];
  if (!slot)
    slot.Reset(CreateFontA(font.Height, 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, font.Name.c_str()));
  return slot.Get();
}

TGdiCanvas::TGdiCanvas(HDC dc) : FDc(dc), FSavedDc(SaveDC(dc)) {}

TGdiCanvas::~TGdiCanvas() { RestoreDC(FDc, FSavedDc); }

RECT TGdiCanvas::Device(const TRect& r) const {
  return {r.Left + FOrigin.X, r.Top + FOrigin.Y, r.Right + FOrigin.X, r.Bottom + FOrigin.Y};
}

TRect TGdiCanvas::Back(const RECT& r) const {
  return {r.left - FOrigin.X, r.top - FOrigin.Y, r.right - FOrigin.X, r.bottom - FOrigin.Y};
}

void TGdiCanvas::SetOriginAndClip(TPoint origin, const TRect& clip) {
  TCanvas::SetOriginAndClip(origin, clip);
  const RECT device = Device(Intersection(clip, {-0x1000000, -0x1000000, 0x1000000, 0x1000000}));
  TGdiObject<HRGN> region(CreateRectRgnIndirect(&device));
  SelectClipRgn(FDc, region.Get());
}

TColor TGdiCanvas::Pixel(int x, int y) const {
  if (!FClip.Contains({x, y})) return clInvalid;
  const COLORREF c = GetPixel(FDc, x + FOrigin.X, y + FOrigin.Y);
  return c == CLR_INVALID ? clInvalid : static_cast<TColor>(c);
}

void TGdiCanvas::SetPixel(int x, int y, TColor color) {
  if (FClip.Contains({x, y})) SetPixelV(FDc, x + FOrigin.X, y + FOrigin.Y, ColorToRGB(color));
}

TGdiObject<HBRUSH> TGdiCanvas::MakeBrush() const {
  if (BrushStyle == TBrushStyle::Clear) return TGdiObject<HBRUSH>();
  if (BrushStyle == TBrushStyle::Solid) return TGdiObject<HBRUSH>(CreateSolidBrush(ColorToRGB(BrushColor)));
  // The checker: BrushColor where x + y is even, BrushPatternColor where odd.
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 8, -8, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<std::uint32_t> bits(64);
  const TColor even = ColorToRGB(BrushColor), odd = ColorToRGB(BrushPatternColor);
  auto dib = [](TColor c) { return static_cast<std::uint32_t>(RedOf(c) << 16 | GreenOf(c) << 8 | BlueOf(c)); };
  for (int i = 0; i < 64; ++i) bits[i] = dib(((i % 8 + i / 8) & 1) ? odd : even);
  std::vector<std::uint8_t> packed(sizeof(BITMAPINFOHEADER) + bits.size() * 4);
  std::memcpy(packed.data(), &info.bmiHeader, sizeof(BITMAPINFOHEADER));
  std::memcpy(packed.data() + sizeof(BITMAPINFOHEADER), bits.data(), bits.size() * 4);
  return TGdiObject<HBRUSH>(CreateDIBPatternBrushPt(packed.data(), DIB_RGB_COLORS));
}

TGdiObject<HPEN> TGdiCanvas::MakePen() const {
  const int style = PenStyle == TPenStyle::Clear ? PS_NULL : PenStyle == TPenStyle::Dot ? PS_DOT : PS_SOLID;
  return TGdiObject<HPEN>(CreatePen(style, PenWidth, ColorToRGB(PenColor)));
}

void TGdiCanvas::FillRect(const TRect& r) {
  const TGdiObject<HBRUSH> brush = MakeBrush();
  if (!brush) return;
  SetBrushOrgEx(FDc, 0, 0, nullptr);
  const RECT device = Device(r);
  ::FillRect(FDc, &device, brush.Get());
}

void TGdiCanvas::RoundRect(const TRect& r, int ellipseWidth, int ellipseHeight) {
  const TGdiObject<HBRUSH> brush = MakeBrush();
  const TGdiObject<HPEN> pen = MakePen();
  const TSelection usePen(FDc, pen.Get());
  const TSelection useBrush(FDc, brush ? static_cast<HGDIOBJ>(brush.Get()) : GetStockObject(NULL_BRUSH));
  const RECT d = Device(r);
  ::RoundRect(FDc, d.left, d.top, d.right, d.bottom, ellipseWidth, ellipseHeight);
}

void TGdiCanvas::HorizontalLine(int x1, int x2, int y, TColor) { PlotLine({x1, y}, {x2, y}); }
void TGdiCanvas::VerticalLine(int x, int y1, int y2, TColor) { PlotLine({x, y1}, {x, y2}); }

void TGdiCanvas::PlotLine(TPoint from, TPoint to) {
  const TGdiObject<HPEN> pen = MakePen();
  const TSelection usePen(FDc, pen.Get());
  MoveToEx(FDc, from.X + FOrigin.X, from.Y + FOrigin.Y, nullptr);
  ::LineTo(FDc, to.X + FOrigin.X, to.Y + FOrigin.Y);
}

int TGdiCanvas::DrawText(std::string_view text, TRect& r, unsigned flags) {
  const TSelection useFont(FDc, FontHandle(Font));
  SetBkMode(FDc, TRANSPARENT);
  SetTextColor(FDc, ColorToRGB(Font.Color));
  RECT device = Device(r);
  const std::string copy(text);
  const int height = ::DrawTextA(FDc, copy.c_str(), static_cast<int>(copy.size()), &device, flags);
  if (flags & dtCalcRect) r = Back(device);
  return height;
}

TSize TGdiCanvas::TextExtent(std::string_view text) {
  const TSelection useFont(FDc, FontHandle(Font));
  SIZE size{};
  GetTextExtentPoint32A(FDc, text.data(), static_cast<int>(text.size()), &size);
  return {size.cx, size.cy};
}

void TGdiCanvas::DrawEdge(TRect& r, unsigned edge, unsigned flags) {
  RECT device = Device(r);
  ::DrawEdge(FDc, &device, edge, flags);
  if (flags & bfAdjust) r = Back(device);
}

void TGdiCanvas::DrawFrameControl(TRect& r, unsigned type, unsigned state) {
  RECT device = Device(r);
  ::DrawFrameControl(FDc, &device, type, state);
  if (state & dfcsAdjustRect) r = Back(device);
}

namespace {
// The memory DC is made before the canvas over it and outlives it.
struct TMemoryDCHolder {
  TMemoryDC Dc;
};

class TMeasureCanvas : private TMemoryDCHolder, public TGdiCanvas {
public:
  TMeasureCanvas() : TGdiCanvas(Dc.Get()) {}
};
}  // namespace

std::unique_ptr<TCanvas> CreateMeasureCanvas() { return std::make_unique<TMeasureCanvas>(); }
