#include "ui/Form.h"

#include "ui/Platform.h"
#include "ui/WindowStyles.h"

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  SetBounds(0, 0, 320, 240);
}

void TForm::Paint(TCanvas& canvas) {
  canvas.BrushStyle = TBrushStyle::Solid;
  canvas.BrushColor = Color();
  canvas.FillRect(ClientRect());
}

TModalResult TForm::ShowModal() {
  FModalResult = mrNone;
  return RunModal();
}

void TForm::Show() { ShowWindowed(); }

void TForm::OnOK() { SetModalResult(mrOk); }
void TForm::OnCancel() { SetModalResult(mrCancel); }

// A dialog frame: caption and close box, fixed size.
unsigned TForm::WindowStyle() const { return wsPopup | wsCaption | wsSysMenu | wsClipChildren | dsModalFrame; }

unsigned TForm::WindowExStyle() const { return wsExDlgModalFrame | wsExControlParent; }

void TForm::WndProc(TMessage& message) {
  switch (message.Msg) {
    case MSG_ACTIVATE:
      if ((message.WParam & 0xFFFF) != 0 && PlatformWindow()) PlatformWindow()->BringToTop();
      break;
    case MSG_COMMAND:
      if (message.LParam != 0) break;
      if ((message.WParam & 0xFFFF) == idOk) return OnOK();
      if ((message.WParam & 0xFFFF) == idCancel) return OnCancel();
      break;
    case MSG_CLOSE: return OnCancel();
  }
  TWinControl::WndProc(message);
}

TForm* ParentForm(const TControl& control) {
  const TControl* top = &control;
  while (top->Parent()) top = top->Parent();
  return dynamic_cast<TForm*>(const_cast<TControl*>(top));
}
