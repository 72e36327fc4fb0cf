#pragma once
// What the standard edits share: their text is their caption, and the
// number of characters an author may type into them, 0 for no limit. The
// limit holds for typing only; a text set by the program is taken whole.

#include <string>

#include "ui/WinControl.h"

class TCustomEdit : public TWinControl {
public:
  using TWinControl::TWinControl;

  const std::string& Text() const { return Caption(); }
  void SetText(std::string_view value) { SetCaption(value); }
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int value);

  const char* WindowClass() const override { return "EDIT"; }
  void WindowCreated() override;

private:
  int FMaxLength = 0;
};
