#pragma once
// The standard single-line edit.

#include "ui/CustomEdit.h"

class TEdit : public TCustomEdit {
public:
  explicit TEdit(TComponent* owner);

  void Paint(TCanvas& canvas) override;
  unsigned WindowStyle() const override;
  unsigned WindowExStyle() const override;
};
