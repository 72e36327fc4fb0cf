#pragma once
// What the two action editors share: the OK and Cancel buttons, the help
// box with its memo, the command box with the action's description, one
// panel per parameter holding its edit and its "Insert Variable" button.

#include <string>
#include <vector>

#include "controls/ZorvexButton.h"
#include "controls/ZorvexHelpBox2.h"
#include "controls/ZorvexPanel.h"
#include "ui/Bitmap.h"
#include "ui/Button.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Label.h"
#include "ui/Memo.h"

class TActionEditForm : public TForm {
public:
  // The editor of action `action` (1 calc, 2 diff): its caption, and the
  // command box with the action's name and description, as registered.
  explicit TActionEditForm(int action);

  TButton* OKBtn;
  TButton* CancelBtn;
  TZorvexHelpBox2* ZorvexHelpBox1;
  TMemo* Memo1;
  TZorvexHelpBox2* ZorvexCommandBox;
  TLabel* CommandLabel;

  // One per parameter, in parameter order.
  const std::vector<TZorvexPanel*>& Panels() const { return FPanels; }
  const std::vector<TEdit*>& Edits() const { return FEdits; }
  const std::vector<TZorvexButton*>& SpeedButtons() const { return FSpeedButtons; }

protected:
  struct TParameter {
    TZorvexPanel* Panel;
    TEdit* Edit;
    TZorvexButton* SpeedButton;
  };
  // Creates the panel of one parameter with its edit and its button, named
  // by `number` (ZorvexPanel1, Edit1, SpeedButton1), the panel captioned;
  // the form places them.
  TParameter AddParameter(int number, std::string_view caption);
  // After placing: the buttons make their images.
  void Loaded();

private:
  TBitmap FInsertGlyph;
  std::vector<TZorvexPanel*> FPanels;
  std::vector<TEdit*> FEdits;
  std::vector<TZorvexButton*> FSpeedButtons;
};

// The "Insert Variable" button's work on its edit: the host offers its
// variables for a fresh copy of the edit's text, and the edit takes the
// text the host leaves only when the host says so. Nothing happens when no
// routine was handed over; a failure in the host leaves the edit as it was.
void InsertVariable(TEdit& edit) noexcept;
