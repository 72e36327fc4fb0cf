#include "ui/Form.h"

#include <functional>

#include "ui/Button.h"
#ifdef _WIN32
#include "ui/win32/ModalLoop.h"
#endif

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  SetBounds(0, 0, 320, 240);
}

TForm::~TForm() = default;

void TForm::Paint(TCanvas& canvas) {
  canvas.BrushStyle = TBrushStyle::Solid;
  canvas.BrushColor = Color();
  canvas.FillRect(ClientRect());
}

TModalResult TForm::ShowModal() {
  FModalResult = mrNone;
#ifdef _WIN32
  return RunModal(*this);
#else
  return mrCancel;
#endif
}

void TForm::Show() {
#ifdef _WIN32
  ShowForm(*this);
#endif
}

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

TForm* GetParentForm(TControl& control) {
  TControl* c = &control;
  while (c->Parent()) c = c->Parent();
  return dynamic_cast<TForm*>(c);
}
