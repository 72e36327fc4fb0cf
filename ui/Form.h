#pragma once
// A top-level form, shown modally. In the Windows build ShowModal disables
// the owner window (the host's active window), runs the form's own message
// loop until a modal result is set, and re-enables the owner (that half of
// the form is win32/ModalLoop.cpp); natively there is no screen, and
// ShowModal answers mrCancel at once.
//
// Like a dialog it owns its OK and Cancel: Enter presses the default
// button, Escape the cancel button (or cancels when there is none), and a
// button with a modal result or the close box ends the form with it.

#include <string>

#include "ui/ModalResult.h"
#include "ui/WinControl.h"

enum class TFormPosition { Designed, ScreenCenter };

class TButton;

class TForm : public TWinControl {
public:
  explicit TForm(TComponent* owner);

  void SetClientSize(int width, int height) { SetBounds(Left(), Top(), width, height); }
  TFormPosition Position() const { return FPosition; }
  void SetPosition(TFormPosition value) { FPosition = value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult value) { FModalResult = value; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* control) { FActiveControl = control; }
  // The window that owns the form while it is shown (Windows build);
  // none: the active window at ShowModal.
  void* OwnerWindow() const { return FOwnerWindow; }
  void SetOwnerWindow(void* window) { FOwnerWindow = window; }

  TModalResult ShowModal();
  // Shows the form without waiting (Windows build; natively nothing).
  void Show();
  void Close() { FModalResult = mrCancel; }

  // The buttons Enter and Escape press.
  TButton* DefaultButton() const;
  TButton* CancelButton() const;

  void Paint(TCanvas& canvas) override;
  unsigned WindowStyle() const override;
  unsigned WindowExStyle() const override;
  bool IsTopLevel() const override { return !Parent(); }
  void* TopLevelOwner() const override { return FOwnerWindow; }
  bool ScreenCentred() const override { return FPosition == TFormPosition::ScreenCenter; }
  bool DialogKey(bool ok) override;
  bool CloseRequest(TModalResult result) override;
  void WndProc(TMessage& message) override;

private:
  // The platform's halves of ShowModal and Show.
  TModalResult RunModal();
  void ShowWindowed();

  TFormPosition FPosition = TFormPosition::ScreenCenter;
  TModalResult FModalResult = mrNone;
  TWinControl* FActiveControl = nullptr;
  void* FOwnerWindow = nullptr;
};
