#include "plugin/forms/Edit2ED.h"

#include "plugin/forms/FormLayout.h"

namespace {
// One line each; the spaces at either end belong to the lines.
const std::vector<std::string> kHelpLines = {
    "Description:",
    "",
    "CalcExpress is an interpreter for quick and easy evaluation of mathematical expressions.",
    "It is a smart tool easy in use.",
    "Supports 5 operators, parenthesis, 18 mathematical functions and user-defined variables",
    "",
    "Specification:",
    "Works with real numbers; ",
    "Accepts operators: + - * / ^; ",
    "Accepts functions: cos, sin, tg, ctg, abs, sgn or sign, sqrt, ln,",
    std::string(32, ' ') + "exp, arcsin, arccos, arctg or arctan, arcctg, ",
    std::string(32, ' ') + "sh or sinh, ch or cosh, th or tanh,",
    std::string(32, ' ') + "cth or coth, heaviside; ",
    "Supports unlimited number of user defined variables",
};
}  // namespace

TEditForm2ED::TEditForm2ED() : TActionEditForm(1) {
  const TParameter first = AddParameter(1, "Formula string to calc or variable"),
                   second = AddParameter(2, "Variable for result");
  ZorvexPanel1 = first.Panel, Edit1 = first.Edit, SpeedButton1 = first.SpeedButton;
  ZorvexPanel2 = second.Panel, Edit2 = second.Edit, SpeedButton2 = second.SpeedButton;
  SetClientSize(552, 520);
  // In tab order.
  PlaceControls({
      {OKBtn, this, 407, 488, 65, 25, "OK"},
      {CancelBtn, this, 483, 488, 62, 25, "Cancel"},
      {ZorvexPanel1, this, 8, 8, 537, 321},
      {Edit1, ZorvexPanel1, 12, 28, 485, 23},
      {SpeedButton1, ZorvexPanel1, 506, 28, 24, 24},
      {ZorvexHelpBox1, ZorvexPanel1, 12, 64, 517, 249, "CalcExpress info"},
      {Memo1, ZorvexHelpBox1, 8, 24, 505, 217},
      {ZorvexPanel2, this, 8, 336, 537, 65},
      {Edit2, ZorvexPanel2, 12, 28, 485, 23},
      {SpeedButton2, ZorvexPanel2, 506, 28, 24, 24},
      {ZorvexCommandBox, this, 7, 408, 538, 73},
      {CommandLabel, ZorvexCommandBox, 8, 24, 521, 41},
  });
  Memo1->SetLines(kHelpLines);
  Loaded();
}
