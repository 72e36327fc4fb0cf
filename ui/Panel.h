#pragma once
// The framework's panel: a windowed container with a caption, colour,
// bevels and a border.

#include "ui/WinControl.h"

enum class TBevelCut { None, Lowered, Raised };

class TCustomPanel : public TWinControl {
public:
  explicit TCustomPanel(TComponent* owner);

  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut value);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int value);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int value);

  // Inset by the border and by the bevel width once for each bevel that
  // is not none.
  void AdjustClientRect(TRect& rect) override;
  // Bevels, the colour, and the caption in the middle.
  void Paint(TCanvas& canvas) override;

private:
  TBevelCut FBevelOuter = TBevelCut::Raised;
  TBevelCut FBevelInner = TBevelCut::None;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
};

class TPanel : public TCustomPanel {
public:
  using TCustomPanel::TCustomPanel;
};

// Two-colour frame of `width` rings, the rectangle shrinking with each.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topLeft, TColor bottomRight, int width);
