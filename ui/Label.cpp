#include "ui/Label.h"

#include "ui/WindowStyles.h"

TLabel::TLabel(TComponent* owner) : TWinControl(owner) {
  SetParentColor(true);
  SetBounds(0, 0, 65, 13);
}

unsigned TLabel::TextFlags() const {
  unsigned flags = dtExpandTabs;
  if (FAlignment == TAlignment::Center) flags |= dtCenter;
  if (FAlignment == TAlignment::RightJustify) flags |= dtRight;
  if (FWordWrap) flags |= dtWordBreak;
  else if (FLayout == TTextLayout::Center) flags |= dtSingleLine | dtVCenter;
  return flags;
}

void TLabel::Paint(TCanvas& canvas) {
  TRect r = ClientRect();
  canvas.BrushStyle = TBrushStyle::Solid;
  canvas.BrushColor = Color();
  canvas.FillRect(r);
  canvas.Font = Font();
  canvas.DrawText(Caption(), r, TextFlags());
}

unsigned TLabel::WindowStyle() const {
  unsigned style = ssNotify;
  if (FAlignment == TAlignment::Center) style |= ssTextCenter;
  else if (FAlignment == TAlignment::RightJustify) style |= ssTextRight;
  else if (!FWordWrap) style |= ssLeftNoWordWrap;
  if (!FWordWrap && FLayout == TTextLayout::Center) style |= ssCenterImage;
  return style;
}
