#pragma once
// A top-level form, shown modally. In the Windows build ShowModal disables
// the owner window (the host's active window), runs the form's own message
// loop until a modal result is set, and re-enables the owner (that half of
// the form is win32/ModalLoop.cpp); natively there is no screen, and
// ShowModal answers mrCancel at once.
//
// Like a dialog it owns its OK and Cancel: Enter and a button with the
// modal result OK reach OnOK, Escape, the close box and a button with the
// modal result Cancel reach OnCancel, each straight from where it arrives.

#include <string>

#include "ui/ModalResult.h"
#include "ui/WinControl.h"

enum class TFormPosition { Designed, ScreenCenter };

class TForm : public TWinControl {
public:
  explicit TForm(TComponent* owner);

  void SetClientSize(int width, int height) { SetBounds(Left(), Top(), width, height); }
  TFormPosition Position() const { return FPosition; }
  void SetPosition(TFormPosition value) { FPosition = value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult value) { FModalResult = value; }
  // The window that owns the form while it is shown (Windows build);
  // none: the active window at ShowModal.
  void* OwnerWindow() const { return FOwnerWindow; }
  void SetOwnerWindow(void* window) { FOwnerWindow = window; }

  TModalResult ShowModal();
  // Shows the form without waiting (Windows build; natively nothing).
  void Show();

  // The form's OK and Cancel: they end it with mrOk and mrCancel.
  virtual void OnOK();
  virtual void OnCancel();

  void Paint(TCanvas& canvas) override;
  unsigned WindowStyle() const override;
  unsigned WindowExStyle() const override;
  // Activation brings the form to the top; the dialog keys (the platform's
  // command OK or Cancel without a control) and the close box end it.
  void WndProc(TMessage& message) override;

private:
  // The platform's halves of ShowModal and Show.
  TModalResult RunModal();
  void ShowWindowed();

  TFormPosition FPosition = TFormPosition::ScreenCenter;
  TModalResult FModalResult = mrNone;
  void* FOwnerWindow = nullptr;
};

// The form `control` lies on (its top parent), none when that is no form.
TForm* ParentForm(const TControl& control);
