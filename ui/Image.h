#pragma once
// A picture, optionally centred and drawn without its transparent colour.

#include "ui/Bitmap.h"
#include "ui/GraphicControl.h"

class TImage : public TGraphicControl {
public:
  explicit TImage(TComponent* owner);

  TBitmap& Picture() { return FPicture; }
  bool Center() const { return FCenter; }
  void SetCenter(bool value) { FCenter = value; Invalidate(); }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value) { FTransparent = value; Invalidate(); }

  void Paint(TCanvas& canvas) override;

private:
  TBitmap FPicture;
  bool FCenter = false, FTransparent = false;
};
