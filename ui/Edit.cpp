#include "ui/Edit.h"

#include "ui/WindowStyles.h"

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 21);
}

// What the raster shows of an edit: a sunken box with the text.
void TEdit::Paint(TCanvas& canvas) {
  TRect r = ClientRect();
  canvas.DrawEdge(r, edgeSunken, bfRect | bfAdjust);
  canvas.BrushStyle = TBrushStyle::Solid;
  canvas.BrushColor = Color();
  canvas.FillRect(r);
  canvas.Font = Font();
  r.Left += 2;
  canvas.DrawText(Text(), r, dtVCenter | dtSingleLine | dtNoPrefix);
}

unsigned TEdit::WindowStyle() const {
  return esAutoHScroll | (TabStop() ? wsTabStop : 0);
}

unsigned TEdit::WindowExStyle() const { return wsExClientEdge; }
