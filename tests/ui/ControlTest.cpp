#include <gtest/gtest.h>

#include "ui/GraphicControl.h"
#include "ui/Panel.h"
#include "ui/RasterCanvas.h"

namespace {
// Records what reaches it.
class TProbe : public TGraphicControl {
public:
  using TGraphicControl::TGraphicControl;
  std::vector<std::string> Seen;
  void Paint(TCanvas& canvas) override {
    canvas.BrushColor = clRed;
    canvas.FillRect(ClientRect());
  }

protected:
  void MouseDown(TMouseButton, TShiftState, int x, int y) override { Seen.push_back("down " + Pos(x, y)); }
  void MouseMove(TShiftState, int x, int y) override { Seen.push_back("move " + Pos(x, y)); }
  void MouseUp(TMouseButton, TShiftState, int x, int y) override { Seen.push_back("up " + Pos(x, y)); }
  void MouseEnter(TMessage&) override { Seen.push_back("enter"); }
  void MouseLeave(TMessage&) override { Seen.push_back("leave"); }
  static std::string Pos(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
};
}  // namespace

TEST(Control, ParentRoutesMouseToWindowlessChildAndKeepsItWhilePressed) {
  TPanel root(nullptr);
  root.SetBounds(0, 0, 100, 100);
  TPanel inner(nullptr);
  inner.SetParent(&root);
  inner.SetBounds(10, 10, 80, 80);
  TProbe probe(nullptr);
  probe.SetParent(&inner);
  probe.SetBounds(5, 5, 20, 20);
  int clicks = 0;
  probe.OnClick = [&](TControl&) { ++clicks; };

  root.Perform(MSG_MOUSEMOVE, 0, MousePos(20, 20));
  root.Perform(MSG_LBUTTONDOWN, mkLeft, MousePos(20, 20));
  root.Perform(MSG_MOUSEMOVE, mkLeft, MousePos(90, 90));  // outside, still held
  root.Perform(MSG_LBUTTONUP, 0, MousePos(90, 90));
  root.Perform(MSG_MOUSEMOVE, 0, MousePos(90, 90));
  EXPECT_EQ(probe.Seen, (std::vector<std::string>{"move 5,5", "enter", "down 5,5", "move 75,75", "leave",
                                                  "up 75,75"}));
  EXPECT_EQ(clicks, 0);  // released outside
  root.Perform(MSG_LBUTTONDOWN, mkLeft, MousePos(20, 20));
  root.Perform(MSG_LBUTTONUP, 0, MousePos(21, 21));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(MouseCapture(), nullptr);
}

TEST(Control, PaintToDrawsChildrenAtTheirPlaceClipped) {
  TPanel root(nullptr);
  root.SetBounds(0, 0, 8, 6);
  root.SetBevelOuter(TBevelCut::None);
  root.SetColor(clWhite);
  TProbe probe(nullptr);
  probe.SetParent(&root);
  probe.SetBounds(6, 4, 5, 5);  // reaches beyond the parent
  TRasterCanvas canvas(10, 8, clBlack);
  root.PaintTo(canvas);
  EXPECT_EQ(canvas.Pixel(6, 4), clRed);
  EXPECT_EQ(canvas.Pixel(7, 5), clRed);
  EXPECT_EQ(canvas.Pixel(8, 5), clBlack);  // clipped to the parent
  EXPECT_EQ(canvas.Pixel(5, 4), clWhite);
}

TEST(Control, FreeNotificationTellsOfDestruction) {
  struct TWatcher : TPanel {
    using TPanel::TPanel;
    TControl* Removed = nullptr;
    void Notification(TControl* removed) override { Removed = removed; }
  } watcher(nullptr);
  auto* watched = new TPanel(nullptr);
  watched->FreeNotification(&watcher);
  delete watched;
  EXPECT_EQ(watcher.Removed, watched);
}

// The pointer over a windowless child of a nested panel makes that child
// the control under the mouse, wherever the panel lies.
TEST(Control, HoverFindsTheChildOfANestedPanel) {
  const TPoint panels[] = {{10, 10}, {8, 36}, {40, 4}};
  for (const TPoint at : panels) {
    TPanel root(nullptr);
    root.SetBounds(0, 0, 100, 100);
    TPanel inner(nullptr);
    inner.SetParent(&root);
    inner.SetBounds(at.X, at.Y, 50, 50);
    TProbe probe(nullptr);
    probe.SetParent(&inner);
    probe.SetBounds(4, 6, 10, 10);
    root.Perform(MSG_MOUSEMOVE, 0, MousePos(at.X + 8, at.Y + 10));
    EXPECT_EQ(MouseControl(), &probe) << at.X << "," << at.Y;
    root.Perform(MSG_MOUSEMOVE, 0, MousePos(99, 99));
    EXPECT_EQ(MouseControl(), &root);
  }
}

TEST(Control, AcceleratorIsTheCharacterAfterASingleAmpersand) {
  struct { const char* caption; unsigned key; bool accel; } cases[] = {
      {"&Formula", 'F', true}, {"&Formula", 'f', true}, {"F&ormula", 'O', true}, {"&Formula", 'o', false},
      {"A&&B", 'B', false},    {"A&&&B", 'B', true},    {"A&&B&C", 'C', true},   {"No accel", 'N', false},
      {"Ends&", '&', false},   {"", 'A', false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsAccel(c.key, c.caption), c.accel) << c.caption << " " << char(c.key);
}
