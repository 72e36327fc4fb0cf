#pragma once
// How the raster canvas measures and draws text. The fixed-metric engine is
// deterministic (every character one cell), enough for layout tests; the
// Windows build can plug in an engine that measures with GDI, so that a
// raster rendering lays text out exactly as the real window does.

#include <memory>
#include <string_view>

#include "ui/Canvas.h"

class TTextEngine {
public:
  virtual ~TTextEngine() = default;
  // One line, taken literally (no prefixes, no tabs).
  virtual TSize Extent(const TFont& font, std::string_view text) = 0;
  // One line with its top-left corner at (x, y), through the canvas's pixel
  // writes (so the canvas's clip applies).
  virtual void Draw(TCanvas& canvas, int x, int y, const TFont& font, std::string_view text,
                    TColor color) = 0;
};

// Every character a cell of |height| / 2 x |height| + 2 pixels (height as
// TFont::Height takes it); a printable character is a solid block inside its
// cell with a pixel of space around it.
class TFixedTextEngine : public TTextEngine {
public:
  static TSize CellSize(const TFont& font);
  TSize Extent(const TFont& font, std::string_view text) override;
  void Draw(TCanvas& canvas, int x, int y, const TFont& font, std::string_view text,
            TColor color) override;
};

// The engine new raster canvases take; the fixed one unless replaced.
std::shared_ptr<TTextEngine> DefaultTextEngine();
void SetDefaultTextEngine(std::shared_ptr<TTextEngine> engine);
