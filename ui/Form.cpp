#include "ui/Form.h"

#include <functional>

#include "ui/Button.h"
#include "ui/Platform.h"

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

// A dialog frame: caption and close box, fixed size.
unsigned TForm::WindowStyle() const {
  constexpr unsigned wsPopup = 0x80000000, wsCaption = 0xC00000, wsSysMenu = 0x80000, wsClipChildren = 0x2000000,
                     dsModalFrame = 0x80;
  return wsPopup | wsCaption | wsSysMenu | wsClipChildren | dsModalFrame;
}

unsigned TForm::WindowExStyle() const {
  constexpr unsigned wsExDlgModalFrame = 0x1, wsExControlParent = 0x10000;
  return wsExDlgModalFrame | wsExControlParent;
}

namespace {
TButton* FindButton(TWinControl& parent, const std::function<bool(TButton&)>& match) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl* child = parent.Controls(i);
    if (auto* button = dynamic_cast<TButton*>(child); button && match(*button)) return button;
    if (auto* windowed = dynamic_cast<TWinControl*>(child))
      if (TButton* found = FindButton(*windowed, match)) return found;
  }
  return nullptr;
}
}  // namespace

TButton* TForm::DefaultButton() const {
  return FindButton(const_cast<TForm&>(*this), [](TButton& b) { return b.Default(); });
}

TButton* TForm::CancelButton() const {
  return FindButton(const_cast<TForm&>(*this), [](TButton& b) { return b.Cancel(); });
}

// Enter presses the default button and Escape the cancel one when they can
// be pressed; Escape without one cancels all the same.
bool TForm::DialogKey(bool ok) {
  TButton* button = ok ? DefaultButton() : CancelButton();
  if (button && button->Enabled()) button->Click();
  else if (!ok) SetModalResult(mrCancel);
  return true;
}

bool TForm::CloseRequest(TModalResult result) {
  SetModalResult(result);
  return true;
}

// A form that becomes active comes to the top of the window order.
void TForm::WndProc(TMessage& message) {
  if (message.Msg == MSG_ACTIVATE && (message.WParam & 0xFFFF) != 0 && PlatformWindow())
    PlatformWindow()->BringToTop();
  TWinControl::WndProc(message);
}
