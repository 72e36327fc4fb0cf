#include "ui/Panel.h"

TCustomPanel::TCustomPanel(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(csCaptureMouse | csClickEvents | csDoubleClicks);
  SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelOuter(TBevelCut value) {
  FBevelOuter = value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut value) {
  FBevelInner = value;
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int value) {
  FBevelWidth = value;
  Invalidate();
}

void TCustomPanel::SetBorderWidth(int value) {
  FBorderWidth = value;
  Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& rect) {
  TWinControl::AdjustClientRect(rect);
  int inset = FBorderWidth;
  if (FBevelOuter != TBevelCut::None) inset += FBevelWidth;
  if (FBevelInner != TBevelCut::None) inset += FBevelWidth;
  rect = InflatedRect(rect, -inset, -inset);
}

void Frame3D(TCanvas& canvas, TRect& rect, TColor topLeft, TColor bottomRight, int width) {
  canvas.PenWidth = 1;
  canvas.PenStyle = TPenStyle::Solid;
  for (int i = 0; i < width; ++i) {
    const int right = rect.Right - 1, bottom = rect.Bottom - 1;
    canvas.PenColor = topLeft;
    canvas.MoveTo(rect.Left, bottom);
    canvas.LineTo(rect.Left, rect.Top);
    canvas.LineTo(right, rect.Top);
    canvas.PenColor = bottomRight;
    canvas.LineTo(right, bottom);
    canvas.LineTo(rect.Left - 1, bottom);
    rect = InflatedRect(rect, -1, -1);
  }
}

void TCustomPanel::Paint(TCanvas& canvas) {
  TRect r = ClientRect();
  auto bevel = [&](TBevelCut cut) {
    if (cut == TBevelCut::None) return;
    const bool raised = cut == TBevelCut::Raised;
    Frame3D(canvas, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight, FBevelWidth);
  };
  bevel(FBevelOuter);
  r = InflatedRect(r, -FBorderWidth, -FBorderWidth);
  bevel(FBevelInner);
  canvas.BrushStyle = TBrushStyle::Solid;
  canvas.BrushColor = Color();
  canvas.FillRect(r);
  if (!Caption().empty()) {
    canvas.BrushStyle = TBrushStyle::Clear;
    canvas.Font = Font();
    canvas.DrawText(Caption(), r, dtCenter | dtVCenter | dtSingleLine | dtExpandTabs);
  }
}
