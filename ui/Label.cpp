#include "ui/Label.h"

TLabel::TLabel(TComponent* owner) : TWinControl(owner) {
  SetParentColor(true);
  SetBounds(0, 0, 65, 13);
}

unsigned TLabel::TextFlags() const {
  unsigned flags = DT_EXPANDTABS;
  if (FAlignment == TAlignment::Center) flags |= DT_CENTER;
  if (FAlignment == TAlignment::RightJustify) flags |= DT_RIGHT;
  if (FWordWrap) flags |= DT_WORDBREAK;
  else if (FLayout == TTextLayout::Center) flags |= DT_SINGLELINE | DT_VCENTER;
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
  constexpr unsigned ssCenter = 0x1, ssRight = 0x2, ssNotify = 0x100, ssCenterImage = 0x200,
                     ssLeftNoWordWrap = 0xC;
  unsigned style = ssNotify;
  if (FAlignment == TAlignment::Center) style |= ssCenter;
  else if (FAlignment == TAlignment::RightJustify) style |= ssRight;
  else if (!FWordWrap) style |= ssLeftNoWordWrap;
  if (!FWordWrap && FLayout == TTextLayout::Center) style |= ssCenterImage;
  return style;
}
