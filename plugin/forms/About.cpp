#include "plugin/forms/About.h"

#include "plugin/forms/FormLayout.h"
#include "plugin/forms/FormsPlatform.h"

TShellOpen AboutShellOpen = ShellExecuteOpen;

namespace {
constexpr TColor kLinkColor = Rgb(0, 0, 255), kHotLinkColor = Rgb(255, 0, 0);
constexpr int kShowHidden = 0;
}  // namespace

TAboutBoxForm::TAboutBoxForm() : TForm(nullptr) {
  SetCaption("About vktQuantaro");
  SetColor(clBtnFace);
  SetFont(DialogFont(kLinkColor));
  SetPosition(TFormPosition::ScreenCenter);
  SetClientSize(361, 264);
  OKBtn = NewControl<TButton>(this, "OKBtn");
  Image1 = NewControl<TImage>(this, "Image1");
  Label1 = NewControl<TLabel>(this, "Label1");
  ZorvexHelpBox1 = NewControl<TZorvexHelpBox2>(this, "ZorvexHelpBox1");
  Label2 = NewControl<TLabel>(this, "Label2");
  ZorvexPanel1 = NewControl<TZorvexPanel>(this, "ZorvexPanel1");
  Memo1 = NewControl<TMemo>(this, "Memo1");
  // In tab order.
  PlaceControls({
      {OKBtn, this, 136, 232, 84, 25, "OK"},
      {ZorvexHelpBox1, this, 8, 56, 345, 65, "Homepage"},
      {Label2, ZorvexHelpBox1, 8, 32, 329, 17, kHomePageAddress},
      {ZorvexPanel1, this, 8, 128, 353, 97, "Commandlist"},
      {Memo1, ZorvexPanel1, 8, 24, 337, 65},
      {Image1, this, 8, 8, 37, 39},
      {Label1, this, 48, 8, 304, 38, "vktQuantaro"},
  });
  OKBtn->SetDefault(true);
  OKBtn->SetModalResult(mrOk);

  PrepareFormResources();
  Image1->Picture().LoadFromResourceName("VKTABOUTPICTURE");
  Image1->SetCenter(true);
  Image1->SetTransparent(true);

  Label1->SetAlignment(TAlignment::Center);
  Label1->SetLayout(TTextLayout::Center);
  Label1->SetColor(clBtnFace);
  Label1->SetFont(ArialFont(21));

  ZorvexHelpBox1->SetFont(DialogFont());

  Label2->SetAlignment(TAlignment::Center);
  Label2->SetLayout(TTextLayout::Center);
  Label2->SetColor(clInfoBk);
  Label2->SetFont(DialogFont(kLinkColor));
  Label2->SetShowHint(false);

  ZorvexPanel1->SetShowAccelChar(true);
  ZorvexPanel1->SetFont(DialogFont(clBlack));

  Memo1->SetReadOnly(true);
  Memo1->SetTabStop(false);
  Memo1->SetBorder(false);
  Memo1->SetColor(clInfoBk);
  Memo1->SetScrollBars(TScrollStyle::Vertical);
  Memo1->SetWantReturns(false);
  Memo1->SetFont(DialogFont(clBlack));
  Memo1->SetLines({"CalcExpress", "\tvktCalcExpress", "DiffExpress", "\tvktDiffExpress"});

  OnMouseMove = [this](TControl& s, TShiftState k, int x, int y) { FormMouseMove(s, k, x, y); };
  ZorvexHelpBox1->OnMouseMove = [this](TControl& s, TShiftState k, int x, int y) {
    ZorvexHelpBox1MouseMove(s, k, x, y);
  };
  Label2->OnMouseMove = [this](TControl& s, TShiftState k, int x, int y) { Label2MouseMove(s, k, x, y); };
  Label2->OnClick = [this](TControl& s) { Label2Click(s); };
}

void TAboutBoxForm::ShowLink(TColor color, bool hand) {
  TFont font = Label2->Font();
  font.Color = color;
  Label2->SetFont(font);
  Label2->SetCursor(hand ? TCursor::HandPoint : TCursor::Default);
}

void TAboutBoxForm::Label2MouseMove(TControl&, TShiftState, int, int) { ShowLink(kHotLinkColor, true); }

void TAboutBoxForm::FormMouseMove(TControl&, TShiftState, int, int) { ShowLink(kLinkColor, false); }

void TAboutBoxForm::ZorvexHelpBox1MouseMove(TControl&, TShiftState, int, int) { ShowLink(kLinkColor, false); }

void TAboutBoxForm::Label2Click(TControl&) {
  // Nothing is reported when the shell fails, and nothing may leave the
  // window procedure this runs in.
  try {
    if (AboutShellOpen) AboutShellOpen(OwnerWindow(), "open", Label2->Caption(), kShowHidden);
  } catch (...) {
  }
}
