#include "plugin/forms/Edit3ED.h"

#include "plugin/forms/FormLayout.h"

namespace {
// One line each; the spaces at either end belong to the lines.
const std::vector<std::string> kHelpLines = {
    "Description.",
    "",
    "DiffExpress provides an easy way to use symbolic differentiation of mathematical expressions ",
    "in your applications. ",
    "Supports 5 operators, parenthesis, 18 mathematical functions and user-defined variables",
    "",
    "Specification.",
    "",
    "Accepts operators: + - * / ^; ",
    "Accepts functions: cos, sin, tg, ctg, abs, sgn or sign, sqrt, ln, exp,",
    std::string(35, ' ') + "arcsin, arcos, arctg, arcctg, sh, ch,",
    std::string(35, ' ') + "th, cth, heaviside; ",
    "Supports unlimited number of user defined variables. ",
};
}  // namespace

TEditForm3ED::TEditForm3ED() : TActionEditForm(2) {
  const TParameter first = AddParameter(1, "Argument 1 for symbolic differentiation"),
                   second = AddParameter(2, "Argument 2 for symbolic differentiation"),
                   third = AddParameter(3, "Variable for result");
  ZorvexPanel1 = first.Panel, Edit1 = first.Edit, SpeedButton1 = first.SpeedButton;
  ZorvexPanel2 = second.Panel, Edit2 = second.Edit, SpeedButton2 = second.SpeedButton;
  ZorvexPanel3 = third.Panel, Edit3 = third.Edit, SpeedButton3 = third.SpeedButton;
  SetClientSize(552, 576);
  // In tab order.
  PlaceControls({
      {OKBtn, this, 407, 544, 65, 25, "OK"},
      {CancelBtn, this, 483, 544, 62, 25, "Cancel"},
      {ZorvexPanel1, this, 8, 8, 537, 65},
      {Edit1, ZorvexPanel1, 12, 28, 485, 23},
      {SpeedButton1, ZorvexPanel1, 506, 28, 24, 24},
      {ZorvexPanel2, this, 8, 80, 537, 65},
      {Edit2, ZorvexPanel2, 12, 28, 485, 23},
      {SpeedButton2, ZorvexPanel2, 506, 28, 24, 24},
      {ZorvexPanel3, this, 8, 392, 537, 65},
      {Edit3, ZorvexPanel3, 12, 28, 485, 23},
      {SpeedButton3, ZorvexPanel3, 506, 28, 24, 24},
      {ZorvexHelpBox1, this, 8, 152, 537, 233, "DiffExpress info"},
      {Memo1, ZorvexHelpBox1, 8, 24, 521, 201},
      {ZorvexCommandBox, this, 7, 464, 538, 73},
      {CommandLabel, ZorvexCommandBox, 8, 24, 521, 41},
  });
  Memo1->SetLines(kHelpLines);
  Loaded();
}
