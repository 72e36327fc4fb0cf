#include "ui/Button.h"

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetBounds(0, 0, 75, 25);
}

void TButton::Click() {
  if (FModalResult != mrNone && Parent()) {
    TWinControl* top = Parent();
    while (top->Parent()) top = top->Parent();
    top->CloseRequest(FModalResult);
  }
  TWinControl::Click();
}

// What the raster shows of a standard button: its classic frame and caption.
void TButton::Paint(TCanvas& canvas) {
  TRect r = ClientRect();
  canvas.DrawFrameControl(r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
  canvas.BrushStyle = TBrushStyle::Clear;
  canvas.Font = Font();
  canvas.DrawText(Caption(), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

unsigned TButton::WindowStyle() const {
  constexpr unsigned bsPushButton = 0x0, bsDefPushButton = 0x1, wsTabStop = 0x10000;
  return (FDefault ? bsDefPushButton : bsPushButton) | (TabStop() ? wsTabStop : 0);
}
