#pragma once
// The in-memory canvas: 32-bit pixels held as plain RGB, with the same
// half-open rules as GDI. Text goes through a pluggable text engine.

#include <memory>
#include <vector>

#include "ui/Canvas.h"

class TTextEngine;

class TRasterCanvas : public TCanvas {
public:
  TRasterCanvas(int width, int height, TColor fill);  // every pixel starts as fill (plain RGB)
  ~TRasterCanvas() override;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetSize(int width, int height, TColor fill);

  TColor Pixel(int x, int y) const override;  // plain RGB; outside the raster: clInvalid
  void SetPixel(int x, int y, TColor color) override;
  // Ignores origin and clip.
  void SetDevicePixel(int x, int y, TColor color);

  void FillRect(const TRect& r) override;
  void RoundRect(const TRect& r, int ellipseWidth, int ellipseHeight) override;
  int DrawText(std::string_view text, TRect& r, unsigned flags) override;
  TSize TextExtent(std::string_view text) override;
  void DrawEdge(TRect& r, unsigned edge, unsigned flags) override;
  void DrawFrameControl(TRect& r, unsigned type, unsigned state) override;

  TTextEngine& TextEngine() { return *FTextEngine; }
  void SetTextEngine(std::shared_ptr<TTextEngine> engine);
  // Every text rectangle drawn since the last call, for comparisons that
  // leave text out.
  std::vector<TRect> TakeTextRects();

  const std::vector<TColor>& Pixels() const { return FPixels; }

protected:
  void HorizontalLine(int x1, int x2, int y, TColor color) override;
  void VerticalLine(int x, int y1, int y2, TColor color) override;

private:
  bool Visible(int x, int y) const;
  TColor BrushAt(int deviceX, int deviceY) const;
  void DrawEdgeLines(const TRect& r, TColor topLeft, TColor bottomRight, unsigned flags);
  void DrawTextLine(std::string_view text, int underline, int x, int y, int lineHeight);

  int FWidth, FHeight;
  std::vector<TColor> FPixels;
  std::shared_ptr<TTextEngine> FTextEngine;
  std::vector<TRect> FTextRects;
};
