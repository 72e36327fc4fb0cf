#pragma once
// A text engine for the raster canvas that measures with GDI, so that a
// raster rendering in the Windows build lays text out exactly as the window
// does. It draws nothing: comparisons leave text out.

#include "ui/TextEngine.h"

class TGdiTextEngine : public TTextEngine {
public:
  TSize Extent(const TFont& font, std::string_view text) override;
  void Draw(TCanvas&, int, int, const TFont&, std::string_view, TColor) override {}
};
