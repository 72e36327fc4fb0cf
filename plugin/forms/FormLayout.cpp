#include "plugin/forms/FormLayout.h"

void PlaceControls(std::initializer_list<TPlacement> rows) {
  for (const TPlacement& row : rows) {
    row.Control->SetParent(row.Parent);
    row.Control->SetBounds(row.Left, row.Top, row.Width, row.Height);
    if (!row.Caption.empty()) row.Control->SetCaption(row.Caption);
  }
}

TFont DialogFont(TColor color) { return TFont{"MS Sans Serif", -11, color}; }

TFont ArialFont(int pixels, TColor color) { return TFont{"Arial", -pixels, color}; }
