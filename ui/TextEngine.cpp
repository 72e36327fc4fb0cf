#include "ui/TextEngine.h"

#include <cstdlib>
#include <utility>

TSize TFixedTextEngine::CellSize(const TFont& font) {
  const int height = font.Height < 0 ? -font.Height : font.Height - 2;
  return {height / 2 > 0 ? height / 2 : 1, height + 2};
}

TSize TFixedTextEngine::Extent(const TFont& font, std::string_view text) {
  const TSize cell = CellSize(font);
  return {cell.cx * static_cast<int>(text.size()), cell.cy};
}

void TFixedTextEngine::Draw(TCanvas& canvas, int x, int y, const TFont& font,
                            std::string_view text, TColor color) {
  const TSize cell = CellSize(font);
  for (const char c : text) {
    if (static_cast<unsigned char>(c) > ' ') {
      for (int row = 2; row < cell.cy - 2; ++row)
        for (int column = 0; column < cell.cx - 1; ++column) canvas.SetPixel(x + column, y + row, color);
    }
    x += cell.cx;
  }
}

namespace {
std::shared_ptr<TTextEngine>& EngineSlot() {
  static std::shared_ptr<TTextEngine> engine = std::make_shared<TFixedTextEngine>();
  return engine;
}
}  // namespace

std::shared_ptr<TTextEngine> DefaultTextEngine() { return EngineSlot(); }
void SetDefaultTextEngine(std::shared_ptr<TTextEngine> engine) { EngineSlot() = std::move(engine); }
