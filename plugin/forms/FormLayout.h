#pragma once
// Forms are laid out from tables: each row puts one control on its parent
// at its place and size, with its caption. Windowed controls take their tab
// order from the order of the rows, so a table reads as the tab order too.

#include <initializer_list>
#include <string>
#include <string_view>

#include "ui/Control.h"
#include "ui/WinControl.h"

struct TPlacement {
  TControl* Control;
  TWinControl* Parent;
  int Left, Top, Width, Height;
  std::string_view Caption = {};
};

void PlaceControls(std::initializer_list<TPlacement> rows);

// A control of the form, named; the form owns it and frees it.
template <typename T>
T* NewControl(TComponent* owner, const std::string& name) {
  auto* control = new T(owner);
  control->SetName(name);
  return control;
}

// The fonts of the dialogs, at 96 dots per inch: heights in pixels.
TFont DialogFont(TColor color = clWindowText);              // "MS Sans Serif", 11
TFont ArialFont(int pixels, TColor color = clWindowText);   // "Arial"
