#include "ui/win32/ModalLoop.h"

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
bool DialogChar(TForm& form, const MSG& msg) {
  if (msg.message != WM_SYSCHAR && msg.message != WM_CHAR) return false;
  if (msg.message == WM_CHAR && (SendMessageA(msg.hwnd, WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS)) return false;
  return form.Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
}
}  // namespace

void ShowForm(TForm& form) {
  if (!form.Window() && !form.OwnerWindow()) form.SetOwnerWindow(GetActiveWindow());
  form.HandleNeeded();
  if (!form.Window()) return;
  ShowWindow(form.Window()->Handle(), SW_SHOW);
  form.SetVisible(true);
  TWinControl* first = form.ActiveControl() ? form.ActiveControl() : FirstTabStop(form);
  if (first) first->SetFocus();
}

TModalResult RunModal(TForm& form) {
  if (!form.OwnerWindow()) form.SetOwnerWindow(GetActiveWindow());
  TModalResult result = mrCancel;
  HWND dialog = nullptr;
  {
    const TOwnerDisabled owner(static_cast<HWND>(form.OwnerWindow()));
    ShowForm(form);
    if (!form.Window()) return mrCancel;
    dialog = form.Window()->Handle();
    MSG msg;
    while (form.ModalResult() == mrNone) {
      const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
      if (got == 0) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        form.SetModalResult(mrCancel);
        break;
      }
      if (got < 0) break;
      if (DialogChar(form, msg) || IsDialogMessageA(dialog, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    result = form.ModalResult() == mrNone ? mrCancel : form.ModalResult();
  }
  // The owner is enabled and active again before the form goes, so the
  // activation does not pass to another program's window.
  ShowWindow(dialog, SW_HIDE);
  form.SetVisible(false);
  form.DestroyHandle();
  return result;
}
