#pragma once
// The standard static text: a window whose text is the caption (so screen
// readers find it), in the label's font and colours, clicks reported.

#include "ui/WinControl.h"

enum class TAlignment { LeftJustify, Center, RightJustify };
enum class TTextLayout { Top, Center };

class TLabel : public TWinControl {
public:
  explicit TLabel(TComponent* owner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value) { FAlignment = value; Invalidate(); }
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout value) { FLayout = value; Invalidate(); }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value) { FWordWrap = value; Invalidate(); }
  unsigned TextFlags() const;

  void Paint(TCanvas& canvas) override;
  const char* WindowClass() const override { return "STATIC"; }
  unsigned WindowStyle() const override;

private:
  TAlignment FAlignment = TAlignment::LeftJustify;
  TTextLayout FLayout = TTextLayout::Top;
  bool FWordWrap = false;
};
