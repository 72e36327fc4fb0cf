#include "plugin/forms/ActionEditForm.h"

#include "plugin/PlugIn.h"
#include "plugin/PlugInUtils.h"
#include "plugin/forms/FormLayout.h"
#include "plugin/forms/FormsPlatform.h"

namespace {

constexpr TColor kHelpBoxColor = Rgb(255, 255, 225);

// A host-string variable of our own, freed on every path.
class THostStringVar {
public:
  THostStringVar() = default;
  ~THostStringVar() { FreeHostString(FText); }
  THostStringVar(const THostStringVar&) = delete;
  THostStringVar& operator=(const THostStringVar&) = delete;
  char*& Get() { return FText; }

private:
  char* FText = nullptr;
};

}  // namespace

TActionEditForm::TActionEditForm(int action) : TForm(nullptr) {
  SetCaption(ActionName[action] + " Properties");
  SetColor(clBtnFace);
  SetFont(DialogFont());
  SetPosition(TFormPosition::ScreenCenter);
  OKBtn = NewControl<TButton>(this, "OKBtn");
  OKBtn->SetDefault(true);
  OKBtn->SetModalResult(mrOk);
  CancelBtn = NewControl<TButton>(this, "CancelBtn");
  CancelBtn->SetCancel(true);
  CancelBtn->SetModalResult(mrCancel);
  ZorvexHelpBox1 = NewControl<TZorvexHelpBox2>(this, "ZorvexHelpBox1");
  ZorvexHelpBox1->SetColor(kHelpBoxColor);
  Memo1 = NewControl<TMemo>(this, "Memo1");
  Memo1->SetBorder(false);
  Memo1->SetColor(clInfoBk);
  Memo1->SetFont(ArialFont(12));
  ZorvexCommandBox = NewControl<TZorvexHelpBox2>(this, "ZorvexCommandBox");
  ZorvexCommandBox->SetCaption(ActionName[action] + "  (" + PlugInName + ")");
  ZorvexCommandBox->SetColor(kHelpBoxColor);
  CommandLabel = NewControl<TLabel>(this, "CommandLabel");
  CommandLabel->SetWordWrap(true);
  CommandLabel->SetColor(clInfoBk);
  CommandLabel->SetCaption(ActionDescription[action]);
  PrepareFormResources();
  FInsertGlyph.LoadFromResourceName("VKTINSERTVARIABLE");
}

TActionEditForm::TParameter TActionEditForm::AddParameter(int number, std::string_view caption) {
  const std::string n = std::to_string(number);
  auto* panel = NewControl<TZorvexPanel>(this, "ZorvexPanel" + n);
  panel->SetCaption(caption);
  panel->SetParentBackground(false);
  panel->SetShowAccelChar(true);
  auto* edit = NewControl<TEdit>(this, "Edit" + n);
  edit->SetFont(ArialFont(12));
  auto* button = NewControl<TZorvexButton>(this, "SpeedButton" + n);
  button->SetFlat(true);
  button->SetHint("Insert Variable");
  button->SetShowHint(true);
  button->SetGlyph(&FInsertGlyph);
  button->OnClick = [edit](TControl&) { InsertVariable(*edit); };
  FPanels.push_back(panel);
  FEdits.push_back(edit);
  FSpeedButtons.push_back(button);
  return {panel, edit, button};
}

void TActionEditForm::Loaded() {
  for (TZorvexButton* button : FSpeedButtons) button->Loaded();
}

void InsertVariable(TEdit& edit) noexcept {
  if (!InterfaceAccessProc) return;
  try {
    THostStringVar variable;
    if (!SetHostString(variable.Get(), edit.Text())) return;
    if (CallInterfaceAccess(InsertVariableCommand, &variable.Get()))
      edit.SetText(HostStringText(variable.Get()));
  } catch (...) {
    // The host failed inside its routine: the edit keeps its text and the
    // dialog goes on.
  }
}
