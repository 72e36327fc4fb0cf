#include "ui/win32/GdiTextEngine.h"

#include "ui/Platform.h"

TSize TGdiTextEngine::Extent(const TFont& font, std::string_view text) {
  static const std::unique_ptr<TCanvas> measure = CreateMeasureCanvas();
  measure->Font = font;
  return measure->TextExtent(text);
}
