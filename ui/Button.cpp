#include "ui/Button.h"

#include "ui/Form.h"
#include "ui/WindowStyles.h"

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetBounds(0, 0, 75, 25);
}

void TButton::Click() {
  if (TForm* form = FModalResult != mrNone ? ParentForm(*this) : nullptr) {
    if (FModalResult == mrOk) form->OnOK();
    else if (FModalResult == mrCancel) form->OnCancel();
  }
  TWinControl::Click();
}

// What the raster shows of a standard button: its classic frame and caption.
void TButton::Paint(TCanvas& canvas) {
  TRect r = ClientRect();
  canvas.DrawFrameControl(r, dfcButton, dfcsButtonPush | dfcsAdjustRect);
  canvas.BrushStyle = TBrushStyle::Clear;
  canvas.Font = Font();
  canvas.DrawText(Caption(), r, dtCenter | dtVCenter | dtSingleLine);
}

unsigned TButton::WindowStyle() const {
  return (FDefault ? bsDefPushButton : bsPushButton) | (TabStop() ? wsTabStop : 0);
}
