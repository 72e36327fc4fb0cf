#pragma once
// A windowless control: painted on its parent's surface in the parent's
// paint, in z-order, and given mouse messages by its parent.

#include "ui/Control.h"

class TGraphicControl : public TControl {
public:
  explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
};
