#pragma once
// The editor of the calc action: the formula and the result variable.

#include "plugin/forms/ActionEditForm.h"

class TEditForm2ED : public TActionEditForm {
public:
  TEditForm2ED();

  TZorvexPanel* ZorvexPanel1;
  TEdit* Edit1;
  TZorvexButton* SpeedButton1;
  TZorvexPanel* ZorvexPanel2;
  TZorvexButton* SpeedButton2;
  TEdit* Edit2;
};
