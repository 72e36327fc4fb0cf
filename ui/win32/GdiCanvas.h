#pragma once
// The canvas over a GDI device context: every drawing call is the platform's
// own (lines, rectangles, round rectangles, text, edges, frame controls).
// Coordinates are translated by the canvas's origin here; its clip becomes
// the device context's clip region.

#include <memory>

#include "ui/Canvas.h"
#include "ui/win32/GdiObjects.h"

class TGdiCanvas : public TCanvas {
public:
  explicit TGdiCanvas(HDC dc);
  ~TGdiCanvas() override;

  HDC Handle() const { return FDc; }

  TColor Pixel(int x, int y) const override;
  void SetPixel(int x, int y, TColor color) override;
  void FillRect(const TRect& r) override;
  void RoundRect(const TRect& r, int ellipseWidth, int ellipseHeight) override;
  int DrawText(std::string_view text, TRect& r, unsigned flags) override;
  TSize TextExtent(std::string_view text) override;
  void DrawEdge(TRect& r, unsigned edge, unsigned flags) override;
  void DrawFrameControl(TRect& r, unsigned type, unsigned state) override;
  void SetOriginAndClip(TPoint origin, const TRect& clip) override;

protected:
  void HorizontalLine(int x1, int x2, int y, TColor color) override;
  void VerticalLine(int x, int y1, int y2, TColor color) override;
  void PlotLine(TPoint from, TPoint to) override;

private:
  RECT Device(const TRect& r) const;
  TRect Back(const RECT& r) const;
  TGdiObject<HBRUSH> MakeBrush() const;
  TGdiObject<HPEN> MakePen() const;

  HDC FDc;
  int FSavedDc;
};
