#pragma once
// A top-level form, shown modally. In the Windows build ShowModal disables
// the owner window (the host's active window), runs the form's own message
// loop until a modal result is set, and re-enables the owner; natively
// there is no screen, and ShowModal answers mrCancel at once.

#include <string>

#include "ui/WinControl.h"

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2;

enum class TFormPosition { Designed, ScreenCenter };

class TButton;

class TForm : public TWinControl {
public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

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

private:
  TFormPosition FPosition = TFormPosition::ScreenCenter;
  TModalResult FModalResult = mrNone;
  TWinControl* FActiveControl = nullptr;
  void* FOwnerWindow = nullptr;
};

// The form a control sits on, none when it sits on none.
TForm* GetParentForm(TControl& control);
