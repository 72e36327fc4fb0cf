#pragma once
// The drawing surface of every control. Controls paint through TCanvas only,
// never through a device context, so the same paint code runs on the
// in-memory raster in tests and on GDI in the Windows build.
//
// Both implementations follow GDI's half-open rules: a line from P to Q paints
// P but not Q, and a rectangle leaves out its right column and bottom row.

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/Graphics.h"

// Windows' headers, when they came first, would rename TCanvas::DrawText to
// DrawTextA in this file only; win32/WinApi.h drops the macro when they come
// after.
#undef DrawText

// Text flags, with the platform's values (win32/GdiCanvas.cpp checks them)
// under names of their own: the platform's headers define its names as
// macros, and may come before or after this header.
constexpr unsigned dtLeft = 0x0;
constexpr unsigned dtCenter = 0x1;
constexpr unsigned dtRight = 0x2;
constexpr unsigned dtVCenter = 0x4;
constexpr unsigned dtBottom = 0x8;
constexpr unsigned dtWordBreak = 0x10;
constexpr unsigned dtSingleLine = 0x20;
constexpr unsigned dtExpandTabs = 0x40;
constexpr unsigned dtNoClip = 0x100;
constexpr unsigned dtCalcRect = 0x400;
constexpr unsigned dtNoPrefix = 0x800;
constexpr unsigned dtRtlReading = 0x20000;

// Edge and frame flags of the classic frames, likewise.
constexpr unsigned bdrRaisedOuter = 0x1;
constexpr unsigned bdrSunkenOuter = 0x2;
constexpr unsigned bdrRaisedInner = 0x4;
constexpr unsigned bdrSunkenInner = 0x8;
constexpr unsigned edgeRaised = bdrRaisedOuter | bdrRaisedInner;
constexpr unsigned edgeSunken = bdrSunkenOuter | bdrSunkenInner;
constexpr unsigned bfLeft = 0x1;
constexpr unsigned bfTop = 0x2;
constexpr unsigned bfRight = 0x4;
constexpr unsigned bfBottom = 0x8;
constexpr unsigned bfRect = 0xF;
constexpr unsigned bfMiddle = 0x800;
constexpr unsigned bfSoft = 0x1000;
constexpr unsigned bfAdjust = 0x2000;
constexpr unsigned dfcButton = 4;
constexpr unsigned dfcsButtonPush = 0x10;
constexpr unsigned dfcsPushed = 0x200;
constexpr unsigned dfcsAdjustRect = 0x2000;

enum class TPenStyle { Solid, Dot, Clear };
// Pattern: the 8 x 8 checker of BrushColor and BrushPatternColor, aligned to
// the surface's origin like a GDI pattern brush.
enum class TBrushStyle { Solid, Clear, Pattern };

struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = -11;  // negative: character height in pixels, as GDI takes it
  TColor Color = clWindowText;
  bool Bold = false;
  friend bool operator==(const TFont&, const TFont&) = default;
};

class TBitmap;

class TCanvas {
public:
  virtual ~TCanvas() = default;

  TColor PenColor = clBlack;
  int PenWidth = 1;
  TPenStyle PenStyle = TPenStyle::Solid;
  TColor BrushColor = clWhite;
  TColor BrushPatternColor = clWhite;
  TBrushStyle BrushStyle = TBrushStyle::Solid;
  TFont Font;

  TPoint PenPos() const { return FPenPos; }
  void MoveTo(int x, int y) { FPenPos = {x, y}; }
  // Paints from the pen position up to, not including, (x, y).
  void LineTo(int x, int y);

  virtual TColor Pixel(int x, int y) const = 0;
  virtual void SetPixel(int x, int y, TColor color) = 0;

  // The brush over the rectangle, nothing with a clear brush.
  virtual void FillRect(const TRect& r) = 0;
  // Outline in the pen, inside in the brush; without a pen the filled area
  // loses its right column and bottom row, as GDI's does.
  void Rectangle(const TRect& r);
  virtual void RoundRect(const TRect& r, int ellipseWidth, int ellipseHeight) = 0;

  // Text in Font, drawn in Font.Color on a clear background; returns the
  // height of the text. With dtCalcRect only `r` is adjusted.
  virtual int DrawText(std::string_view text, TRect& r, unsigned flags) = 0;
  virtual TSize TextExtent(std::string_view text) = 0;
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }

  // The bitmap at (x, y) in its own size, pixel by pixel; pixels of
  // `transparent` are left out unless it is clNone.
  void Draw(int x, int y, const TBitmap& bitmap, TColor transparent = clNone);

  // The platform's classic frames, drawn the way the platform draws them.
  virtual void DrawEdge(TRect& r, unsigned edge, unsigned flags) = 0;
  virtual void DrawFrameControl(TRect& r, unsigned type, unsigned state) = 0;

  // A translation of every coordinate and a clip rectangle (in translated
  // coordinates), for painting child controls on their parent's surface.
  TPoint Origin() const { return FOrigin; }
  TRect ClipRect() const { return FClip; }
  virtual void SetOriginAndClip(TPoint origin, const TRect& clip);

protected:
  // Solid single-pixel lines are all the controls draw; wider or dotted pens
  // fall back to this.
  virtual void HorizontalLine(int x1, int x2, int y, TColor color) = 0;
  virtual void VerticalLine(int x, int y1, int y2, TColor color) = 0;
  virtual void PlotLine(TPoint from, TPoint to);

  TPoint FOrigin{};
  TRect FClip{-0x40000000, -0x40000000, 0x40000000, 0x40000000};

private:
  TPoint FPenPos{};
};

// Saves the canvas's origin, clip, pen, brush and font and puts them back.
class TCanvasState {
public:
  explicit TCanvasState(TCanvas& canvas);
  ~TCanvasState();
  TCanvasState(const TCanvasState&) = delete;
  TCanvasState& operator=(const TCanvasState&) = delete;

private:
  TCanvas& FCanvas;
  TPoint FOrigin;
  TRect FClip;
  TColor FPenColor, FBrushColor, FBrushPatternColor;
  int FPenWidth;
  TPenStyle FPenStyle;
  TBrushStyle FBrushStyle;
  TFont FFont;
};
