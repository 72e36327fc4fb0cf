#pragma once
// The standard multi-line edit. Its lines are its text joined by CR LF.
// In a dialog it leaves Tab and Escape to the form unless it wants tabs,
// and Enter unless it wants returns.

#include <string>
#include <vector>

#include "ui/CustomEdit.h"

enum class TScrollStyle { None, Vertical };

class TMemo : public TCustomEdit {
public:
  explicit TMemo(TComponent* owner);

  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value) { FReadOnly = value; }
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value) { FScrollBars = value; }
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool value) { FWantReturns = value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool value) { FWantTabs = value; }
  bool Border() const { return FBorder; }
  void SetBorder(bool value) { FBorder = value; }

  void Paint(TCanvas& canvas) override;
  unsigned WindowStyle() const override;
  unsigned WindowExStyle() const override;
  unsigned WantedDialogKeys() const override;

private:
  bool FReadOnly = false;
  TScrollStyle FScrollBars = TScrollStyle::None;
  bool FWantReturns = true;
  bool FWantTabs = false;
  bool FBorder = true;
};
