#include "ui/Edit.h"

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 21);
}

// What the raster shows of an edit: a sunken box with the text.
void TEdit::Paint(TCanvas& canvas) {
  TRect r = ClientRect();
  canvas.DrawEdge(r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  canvas.BrushStyle = TBrushStyle::Solid;
  canvas.BrushColor = Color();
  canvas.FillRect(r);
  canvas.Font = Font();
  r.Left += 2;
  canvas.DrawText(Text(), r, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

unsigned TEdit::WindowStyle() const {
  constexpr unsigned esAutoHScroll = 0x80, wsTabStop = 0x10000;
  return esAutoHScroll | (TabStop() ? wsTabStop : 0);
}

unsigned TEdit::WindowExStyle() const { return 0x200; }  // WS_EX_CLIENTEDGE
