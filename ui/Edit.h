#pragma once
// The standard single-line edit; its text is its caption.

#include <string>

#include "ui/WinControl.h"

class TEdit : public TWinControl {
public:
  explicit TEdit(TComponent* owner);

  const std::string& Text() const { return Caption(); }
  void SetText(std::string_view value) { SetCaption(value); }

  void Paint(TCanvas& canvas) override;
  const char* WindowClass() const override { return "EDIT"; }
  unsigned WindowStyle() const override;
  unsigned WindowExStyle() const override;
};
