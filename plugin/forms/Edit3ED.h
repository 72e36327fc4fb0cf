#pragma once
// The editor of the diff action: the formula, the variable of
// differentiation and the result variable.

#include "plugin/forms/ActionEditForm.h"

class TEditForm3ED : public TActionEditForm {
public:
  TEditForm3ED();

  TZorvexPanel* ZorvexPanel1;
  TEdit* Edit1;
  TZorvexButton* SpeedButton1;
  TZorvexPanel* ZorvexPanel2;
  TZorvexButton* SpeedButton2;
  TEdit* Edit2;
  TZorvexPanel* ZorvexPanel3;
  TZorvexButton* SpeedButton3;
  TEdit* Edit3;
};
