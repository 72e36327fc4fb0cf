#pragma once
// The standard push button. A click with the modal result OK or Cancel
// reaches its form's OnOK or OnCancel.

#include "ui/ModalResult.h"
#include "ui/WinControl.h"

class TButton : public TWinControl {
public:
  explicit TButton(TComponent* owner);

  // The default button: the platform draws it as such.
  bool Default() const { return FDefault; }
  void SetDefault(bool value) { FDefault = value; }
  // The cancel button, as forms declare it. Nothing in the plug-in reads
  // it: Escape reaches the form's OnCancel whether there is one or not.
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
