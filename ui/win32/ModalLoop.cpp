// The Windows build's half of TForm: showing it, and the modal loop.
//
// ShowModal disables the owner window (the host's active window unless the
// form names one), runs the form's own message loop with the dialog keys
// until a modal result is set, re-enables and re-activates the owner before
// the form's windows go. A WM_QUIT met on the way is posted again for the
// host. Show creates the form's windows and shows it without waiting.

#include "ui/Form.h"
#include "ui/win32/Window.h"

namespace {
// The owner stays disabled while the form is up, whatever way the loop ends.
class TOwnerDisabled {
public:
  explicit TOwnerDisabled(HWND owner) : FOwner(owner), FWasEnabled(owner && IsWindowEnabled(owner)) {
    if (FWasEnabled) EnableWindow(FOwner, FALSE);
  }
  ~TOwnerDisabled() {
    if (!FWasEnabled) return;
    EnableWindow(FOwner, TRUE);
    SetActiveWindow(FOwner);
  }
  TOwnerDisabled(const TOwnerDisabled&) = delete;
  TOwnerDisabled& operator=(const TOwnerDisabled&) = delete;

private:
  HWND FOwner;
  bool FWasEnabled;
};

// The first control that takes the focus, in tab order.
TWinControl* FirstTabStop(TWinControl& parent) {
  TWinControl* best = nullptr;
  for (int i = 0; i < parent.ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(parent.Controls(i));
    if (!child || !child->CanFocus()) continue;
    TWinControl* candidate = child->TabStop() ? child : FirstTabStop(*child);
    if (candidate && (!best || child->TabOrder() < best->TabOrder())) best = candidate == child ? child : candidate;
  }
  return best;
}

// Characters for the framework's accelerators: Alt+key always, a plain key
// when the focused control does not take characters itself.
bool AcceleratorChar(TForm& form, const MSG& msg) {
  if (msg.message != WM_SYSCHAR && msg.message != WM_CHAR) return false;
  if (msg.message == WM_CHAR && (SendMessageA(msg.hwnd, WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS)) return false;
  return form.Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
}
}  // namespace

void TForm::ShowWindowed() {
  if (!PlatformWindow() && !OwnerWindow()) SetOwnerWindow(GetActiveWindow());
  HandleNeeded();
  if (!PlatformWindow()) return;
  ShowWindow(WindowOf(*this)->Handle(), SW_SHOW);
  SetVisible(true);
  if (TWinControl* first = FirstTabStop(*this)) first->SetFocus();
}

TModalResult TForm::RunModal() {
  if (!OwnerWindow()) SetOwnerWindow(GetActiveWindow());
  TModalResult result = mrCancel;
  HWND dialog = nullptr;
  {
    const TOwnerDisabled owner(static_cast<HWND>(OwnerWindow()));
    ShowWindowed();
    if (!PlatformWindow()) return mrCancel;
    dialog = WindowOf(*this)->Handle();
    MSG msg;
    while (ModalResult() == mrNone) {
      const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
      if (got == 0) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        SetModalResult(mrCancel);
        break;
      }
      if (got < 0) break;
      if (AcceleratorChar(*this, msg) || IsDialogMessageA(dialog, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    result = ModalResult() == mrNone ? mrCancel : ModalResult();
  }
  // The owner is enabled and active again before the form goes, so the
  // activation does not pass to another program's window.
  ShowWindow(dialog, SW_HIDE);
  SetVisible(false);
  DestroyHandle();
  return result;
}
