#include "ui/Image.h"

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 105, 105);
  FPicture.OnChange = [this](TBitmap&) { Invalidate(); };
}

void TImage::Paint(TCanvas& canvas) {
  if (FPicture.Empty()) return;
  int x = 0, y = 0;
  if (FCenter) {
    x = (Width() - FPicture.Width()) / 2;
    y = (Height() - FPicture.Height()) / 2;
  }
  canvas.Draw(x, y, FPicture, FTransparent ? FPicture.TransparentColor() : clNone);
}
