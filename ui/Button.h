#pragma once
// The standard push button. A click with a modal result asks the top-level
// window (the form) to close with it; the form presses its default button
// on Enter and its cancel button on Escape.

#include "ui/ModalResult.h"
#include "ui/WinControl.h"

class TButton : public TWinControl {
public:
  explicit TButton(TComponent* owner);

  bool Default() const { return FDefault; }
  void SetDefault(bool value) { FDefault = value; }
  bool Cancel() const { return FCancel; }
  void SetCancel(bool value) { FCancel = value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult value) { FModalResult = value; }

  void Click() override;
  void Paint(TCanvas& canvas) override;
  const char* WindowClass() const override { return "BUTTON"; }
  unsigned WindowStyle() const override;

private:
  bool FDefault = false, FCancel = false;
  TModalResult FModalResult = mrNone;
};
