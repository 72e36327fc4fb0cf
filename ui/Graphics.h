#pragma once
// Colours, points and rectangles shared by the canvas, the framework and the
// controls.
//
// A colour is 0x00BBGGRR, or 0xFF0000nn for system colour nn, which is looked
// up in the platform's table (GetSysColor on Windows, a fixed table of the
// same values natively) before any arithmetic is done on it.

#include <algorithm>
#include <cstdint>

using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clGray = 0x808080;
constexpr TColor clOlive = 0x008080;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clNone = 0x1FFFFFFF;
// What a failed pixel read returns, as GDI's GetPixel does.
constexpr TColor clInvalid = 0xFFFFFFFF;

constexpr TColor clActiveCaption = 0xFF000002;
constexpr TColor clWindow = 0xFF000005;
constexpr TColor clWindowText = 0xFF000008;
constexpr TColor clHighlight = 0xFF00000D;
constexpr TColor clBtnFace = 0xFF00000F;
constexpr TColor clBtnShadow = 0xFF000010;
constexpr TColor clGrayText = 0xFF000011;
constexpr TColor clBtnText = 0xFF000012;
constexpr TColor clBtnHighlight = 0xFF000014;
constexpr TColor cl3DDkShadow = 0xFF000015;
constexpr TColor cl3DLight = 0xFF000016;
constexpr TColor clInfoText = 0xFF000017;
constexpr TColor clInfoBk = 0xFF000018;

// (Named apart from the Windows macros, which Windows-only files also see.)
constexpr TColor Rgb(int r, int g, int b) {
  return static_cast<TColor>(r & 0xFF) | static_cast<TColor>(g & 0xFF) << 8 |
         static_cast<TColor>(b & 0xFF) << 16;
}
constexpr int RedOf(TColor c) { return c & 0xFF; }
constexpr int GreenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(TColor c) { return (c >> 16) & 0xFF; }

// The platform's value of system colour `index` as plain RGB.
TColor SysColor(int index);
// System colours resolved, plain ones unchanged.
TColor ColorToRGB(TColor color);

struct TPoint {
  int X = 0, Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int cx = 0, cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

// Half-open: Right and Bottom lie outside.
struct TRect {
  int Left, Top, Right, Bottom;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Bounds(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}
inline TRect InflatedRect(TRect r, int dx, int dy) {
  return {r.Left - dx, r.Top - dy, r.Right + dx, r.Bottom + dy};
}
inline TRect OffsetRect(TRect r, int dx, int dy) {
  return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}
inline TRect Intersection(const TRect& a, const TRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
}
