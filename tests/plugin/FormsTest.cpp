// The dialogs without windows: layout, tab order and texts of the three
// forms, the editor's captions and write-back through a replaced modal
// show, the "Insert Variable" buttons against fake host routines, and the
// About box's link.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "FormsTestUtil.h"
#include "plugin/PlugIn.h"
#include "plugin/PlugInUtils.h"
#include "plugin/forms/About.h"
#include "plugin/forms/Dialogs.h"
#include "plugin/forms/Edit2ED.h"
#include "plugin/forms/Edit3ED.h"

namespace {

bool IgnoreAdd(std::int32_t, const char*, const char*, const std::uint8_t*, std::int32_t, std::uint8_t) { return true; }
bool IgnoreSetVar(const char*, const char*) { return true; }

class Dialogs : public ::testing::Test {
protected:
  void SetUp() override { RegisterPlugIn(IgnoreAdd, nullptr, nullptr, IgnoreSetVar); }
  void TearDown() override {
    ShowFormModal = [](TForm& form) { return form.ShowModal(); };
    InterfaceAccessProc = nullptr;
    for (char*& p : params) FreeHostString(p);
  }
  char* params[3] = {};
};

struct TBox { const char* name; const char* parent; int left, top, width, height; };

void ExpectLayout(TForm& form, std::initializer_list<TBox> boxes) {
  for (const TBox& b : boxes) {
    TControl& c = Find(form, b.name);
    EXPECT_EQ(c.Parent() ? c.Parent()->Name() : "", b.parent) << b.name;
    EXPECT_EQ(c.BoundsRect(), Bounds(b.left, b.top, b.width, b.height)) << b.name;
  }
}

TEST_F(Dialogs, CalcEditorLayoutAndTabOrder) {
  TEditForm2ED form;
  EXPECT_EQ(form.ClientRect(), (TRect{0, 0, 552, 520}));
  ExpectLayout(form, {
      {"OKBtn", "", 407, 488, 65, 25}, {"CancelBtn", "", 483, 488, 62, 25},
      {"ZorvexPanel1", "", 8, 8, 537, 321}, {"ZorvexPanel2", "", 8, 336, 537, 65},
      {"Edit1", "ZorvexPanel1", 12, 28, 485, 23}, {"SpeedButton1", "ZorvexPanel1", 506, 28, 24, 24},
      {"Edit2", "ZorvexPanel2", 12, 28, 485, 23}, {"SpeedButton2", "ZorvexPanel2", 506, 28, 24, 24},
      {"ZorvexHelpBox1", "ZorvexPanel1", 12, 64, 517, 249}, {"Memo1", "ZorvexHelpBox1", 8, 24, 505, 217},
      {"ZorvexCommandBox", "", 7, 408, 538, 73}, {"CommandLabel", "ZorvexCommandBox", 8, 24, 521, 41},
  });
  EXPECT_EQ(TabSequence(form), "OKBtn CancelBtn ZorvexPanel1 Edit1 ZorvexHelpBox1 Memo1 ZorvexPanel2 Edit2 "
                               "ZorvexCommandBox CommandLabel ");
}

TEST_F(Dialogs, DiffEditorLayoutAndTabOrder) {
  TEditForm3ED form;
  EXPECT_EQ(form.ClientRect(), (TRect{0, 0, 552, 576}));
  ExpectLayout(form, {
      {"OKBtn", "", 407, 544, 65, 25}, {"CancelBtn", "", 483, 544, 62, 25},
      {"ZorvexPanel1", "", 8, 8, 537, 65}, {"ZorvexPanel2", "", 8, 80, 537, 65},
      {"ZorvexPanel3", "", 8, 392, 537, 65}, {"Edit3", "ZorvexPanel3", 12, 28, 485, 23},
      {"SpeedButton3", "ZorvexPanel3", 506, 28, 24, 24}, {"ZorvexHelpBox1", "", 8, 152, 537, 233},
      {"Memo1", "ZorvexHelpBox1", 8, 24, 521, 201}, {"ZorvexCommandBox", "", 7, 464, 538, 73},
  });
  EXPECT_EQ(TabSequence(form), "OKBtn CancelBtn ZorvexPanel1 Edit1 ZorvexPanel2 Edit2 ZorvexPanel3 Edit3 "
                               "ZorvexHelpBox1 Memo1 ZorvexCommandBox CommandLabel ");
}

TEST_F(Dialogs, HelpTextsKeepTheirSpaces) {
  TEditForm2ED calc;
  TEditForm3ED diff;
  const auto c = calc.Memo1->Lines(), d = diff.Memo1->Lines();
  ASSERT_EQ(c.size(), 14u);
  ASSERT_EQ(d.size(), 13u);
  EXPECT_EQ(c[7], "Works with real numbers; ");
  EXPECT_EQ(c[10], std::string(32, ' ') + "exp, arcsin, arccos, arctg or arctan, arcctg, ");
  EXPECT_EQ(c[13], "Supports unlimited number of user defined variables");
  EXPECT_EQ(d[2].back(), ' ');
  EXPECT_EQ(d[11], std::string(35, ' ') + "th, cth, heaviside; ");
  EXPECT_EQ(d[12], "Supports unlimited number of user defined variables. ");
  EXPECT_EQ(calc.ZorvexHelpBox1->Caption(), "CalcExpress info");
  EXPECT_EQ(diff.ZorvexHelpBox1->Caption(), "DiffExpress info");
  EXPECT_EQ(calc.SpeedButton1->Hint(), "Insert Variable");
  EXPECT_EQ(calc.SpeedButton1->Glyph().Width(), 20);
}

TEST_F(Dialogs, CaptionsFromTheRegistrationAndTextsFromTheParameters) {
  ASSERT_TRUE(SetHostString(params[0], "x^2"));
  const auto form = CreateEditForm(2, params);  // params[1] nil: an empty field
  ASSERT_TRUE(form);
  EXPECT_EQ(form->Caption(), "vktDiffExpress Properties");
  EXPECT_EQ(form->ZorvexCommandBox->Caption(), "vktDiffExpress  (vktQuantaro)");
  EXPECT_EQ(form->CommandLabel->Caption(), "Show differentiated expression.");
  const char* panels[] = {"Argument 1 for symbolic differentiation", "Argument 2 for symbolic differentiation",
                          "Variable for result"};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(form->Panels()[i]->Caption(), panels[i]);
  EXPECT_EQ(form->Edits()[0]->Text(), "x^2");
  EXPECT_EQ(form->Edits()[1]->Text(), "");
  EXPECT_EQ(CreateEditForm(1, params)->Panels()[1]->Caption(), "Variable for result");
  EXPECT_FALSE(CreateEditForm(3, params));
}

// How an author ends a dialog: its buttons, and what the platform sends for
// Enter, Escape and the close box.
struct TEndingKind {
  const char* what;
  std::function<void(TForm&, TButton* ok, TButton* cancel)> end;
  TModalResult result;
};
const TEndingKind kEndings[] = {
    {"OK button", [](TForm&, TButton* ok, TButton*) { ok->Click(); }, mrOk},
    {"Enter", [](TForm& f, TButton*, TButton*) { f.Perform(MSG_COMMAND, idOk); }, mrOk},
    {"Cancel button", [](TForm&, TButton*, TButton* cancel) { cancel->Click(); }, mrCancel},
    {"Escape", [](TForm& f, TButton*, TButton*) { f.Perform(MSG_COMMAND, idCancel); }, mrCancel},
    {"close box", [](TForm& f, TButton*, TButton*) { f.Perform(MSG_CLOSE); }, mrCancel},
    {"a child's command", [](TForm& f, TButton*, TButton*) { f.Perform(MSG_COMMAND, idOk, 1); }, mrNone},
};

TEST_F(Dialogs, EveryEndingReachesTheFormsOkOrCancel) {
  TEditForm2ED calc;
  TEditForm3ED diff;
  TAboutBoxForm about;
  struct { TForm& form; TButton* ok; TButton* cancel; } forms[] = {
      {calc, calc.OKBtn, calc.CancelBtn}, {diff, diff.OKBtn, diff.CancelBtn}, {about, about.OKBtn, nullptr}};
  for (auto& f : forms)
    for (const TEndingKind& e : kEndings) {
      if (!f.cancel && &e == &kEndings[2]) continue;  // the About box has no Cancel button
      f.form.SetModalResult(mrNone);
      e.end(f.form, f.ok, f.cancel);
      EXPECT_EQ(f.form.ModalResult(), e.result) << f.form.Caption() << ": " << e.what;
    }
}

// Only an ending in OK writes back, every parameter a fresh block in order.
TEST_F(Dialogs, OnlyOkWritesFreshBlocksInOrder) {
  struct TEnding { const TEndingKind& how; const char* typed; } endings[] = {
      {kEndings[0], "sin(x)"}, {kEndings[1], nullptr}, {kEndings[1], "sin(x)"}, {kEndings[2], "sin(x)"},
      {kEndings[3], "sin(x)"}, {kEndings[4], nullptr}, {kEndings[5], "sin(x)"},
  };
  for (const TEnding& e : endings) {
    ASSERT_TRUE(SetHostString(params[0], "1+2"));
    ASSERT_TRUE(SetHostString(params[1], "r"));
    char* const old[2] = {params[0], params[1]};
    ShowFormModal = [&](TForm& form) {
      auto& editor = static_cast<TActionEditForm&>(form);
      if (e.typed) editor.Edits()[0]->SetText(e.typed);
      e.how.end(form, editor.OKBtn, editor.CancelBtn);
      return form.ModalResult() == mrNone ? mrCancel : form.ModalResult();
    };
    const bool written = e.how.result == mrOk;
    const std::string what = std::string(e.how.what) + (e.typed ? " after typing" : "");
    EXPECT_EQ(EditActionDialog(1, params), written) << what;
    EXPECT_STREQ(params[0], e.typed && written ? e.typed : "1+2") << what;
    EXPECT_STREQ(params[1], "r") << what;
    EXPECT_EQ(params[0] != old[0] && params[1] != old[1], written) << what;
    EXPECT_EQ(params[0] == old[0] && params[1] == old[1], !written) << what;
  }
}

TEST_F(Dialogs, OtherActionsShowNothing) {
  int shown = 0;
  ShowFormModal = [&](TForm&) { return ++shown, mrOk; };
  for (int action : {0, 3, -1}) EXPECT_FALSE(EditActionDialog(action, params));
  EXPECT_FALSE(EditActionDialog(1, nullptr));
  EXPECT_EQ(shown, 0);
  // The build without dialogs shows nothing either.
  EXPECT_FALSE(EditAction(1, params));
}

// Fake host routines behind "Insert Variable": what they saw, and blocks
// still allocated by the plug-in.
std::string gSeen;
bool HostPicks(std::int32_t command, char** var) {
  gSeen = std::to_string(command) + ":" + *var;
  FreeHostString(*var);
  return SetHostString(*var, "[picked]");
}
bool HostDeclines(std::int32_t, char** var) {
  gSeen = *var;
  return false;
}
int gBlocks = 0;
void* CountingAlloc(std::size_t size) { return ++gBlocks, std::malloc(size); }

TEST_F(Dialogs, InsertVariableTakesTheHostsTextOnlyOnTrue) {
  TEditForm2ED form;
  form.Edit1->SetText("a+");
  form.SpeedButton1->Click();  // no routine handed over: nothing happens
  EXPECT_EQ(form.Edit1->Text(), "a+");
  const THostAllocator saved = SetHostAllocator(CountingAlloc);
  InterfaceAccessProc = HostDeclines;
  form.SpeedButton1->Click();
  EXPECT_EQ(gSeen, "a+");
  EXPECT_EQ(form.Edit1->Text(), "a+");
  InterfaceAccessProc = HostPicks;
  form.SpeedButton2->Click();
  EXPECT_EQ(gSeen, "14:");
  EXPECT_EQ(form.Edit2->Text(), "[picked]");
  EXPECT_EQ(form.Edit1->Text(), "a+");
  SetHostAllocator(saved);
  EXPECT_EQ(gBlocks, 3);  // two copies of the edits' texts, one picked text: all freed by then (ASan)
}

TEST_F(Dialogs, AboutBoxLinkAndCommandList) {
  TAboutBoxForm form;
  EXPECT_EQ(form.ClientRect(), (TRect{0, 0, 361, 264}));
  ExpectLayout(form, {
      {"Image1", "", 8, 8, 37, 39}, {"Label1", "", 48, 8, 304, 38}, {"ZorvexHelpBox1", "", 8, 56, 345, 65},
      {"Label2", "ZorvexHelpBox1", 8, 32, 329, 17}, {"ZorvexPanel1", "", 8, 128, 353, 97},
      {"Memo1", "ZorvexPanel1", 8, 24, 337, 65}, {"OKBtn", "", 136, 232, 84, 25},
  });
  EXPECT_EQ(form.Memo1->Lines(), (std::vector<std::string>{"CalcExpress", "\tvktCalcExpress", "DiffExpress",
                                                           "\tvktDiffExpress"}));
  EXPECT_EQ(form.Image1->Picture().Width(), 32);
  EXPECT_TRUE(form.Memo1->ReadOnly());
  EXPECT_EQ(form.Label2->Font().Color, Rgb(0, 0, 255));  // blue before the mouse comes
  std::string opened;
  AboutShellOpen = [&](void*, const std::string& verb, const std::string& file, int show) {
    opened = verb + " " + file + " " + std::to_string(show);
  };
  const TPoint link{8 + 8 + 20, 56 + 32 + 5}, helpBox{8 + 100, 56 + 10}, background{200, 50};
  struct Move { TPoint at; TColor color; bool hand; } moves[] = {
      {link, Rgb(255, 0, 0), true}, {background, Rgb(0, 0, 255), false},
      {link, Rgb(255, 0, 0), true}, {helpBox, Rgb(0, 0, 255), false},
  };
  for (const Move& m : moves) {
    form.Perform(MSG_MOUSEMOVE, 0, MousePos(m.at.X, m.at.Y));
    EXPECT_EQ(form.Label2->Font().Color, m.color) << m.at.X << "," << m.at.Y;
    EXPECT_EQ(form.Label2->Cursor() == TCursor::HandPoint, m.hand);
  }
  form.Perform(MSG_LBUTTONDOWN, mkLeft, MousePos(link.X, link.Y));
  form.Perform(MSG_LBUTTONUP, 0, MousePos(link.X, link.Y));
  EXPECT_EQ(opened, std::string("open ") + kHomePageAddress + " 0");
  AboutShellOpen = nullptr;
}

// The "Insert Variable" buttons at rest: flat, so only their panel's colour
// shows where the face would be.
TEST_F(Dialogs, FlatInsertButtons) {
  TEditForm2ED calc;
  TEditForm3ED diff;
  for (TActionEditForm* form : {static_cast<TActionEditForm*>(&calc), static_cast<TActionEditForm*>(&diff)}) {
    const TRasterCanvas canvas = PaintForm(*form);
    for (const TZorvexButton* b : form->SpeedButtons()) {
      const TPoint at{b->Parent()->Left() + b->Left() + 12, b->Parent()->Top() + b->Top()};  // the frame's top edge
      EXPECT_EQ(canvas.Pixel(at.X, at.Y), ColorToRGB(b->Parent()->Color())) << b->Name();
    }
  }
}

TEST_F(Dialogs, PaintedBodyAndForm) {
  TEditForm2ED calc;
  const TRasterCanvas c = PaintForm(calc);
  EXPECT_EQ(c.Pixel(8 + 12 + 5, 8 + 64 + 245), Rgb(255, 255, 225));  // help box body below the memo
  EXPECT_EQ(c.Pixel(300, 500), SysColor(15));                        // the form
}

}  // namespace
