#pragma once
// The speed button: a windowless button with an optional glyph of up to four
// pictures (one per state), flat and transparent modes, groups of buttons
// that stay down like radio buttons, and hot tracking.

#include <memory>

#include "controls/ZorvexButtonGlyph.h"
#include "ui/GraphicControl.h"

class TZorvexButton : public TGraphicControl {
public:
  explicit TZorvexButton(TComponent* owner);
  ~TZorvexButton() override;

  // After a form has set the properties: makes the image of the state.
  void Loaded();

  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int value);
  bool Down() const { return FDown; }
  void SetDown(bool value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool value);
  const TBitmap& Glyph() const { return FGlyph->GlyphBitmap(); }
  void SetGlyph(const TBitmap* value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout value);
  int Margin() const { return FMargin; }
  void SetMargin(int value);
  int NumGlyphs() const { return FGlyph->NumGlyphs(); }
  void SetNumGlyphs(int value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);

  TButtonState State() const { return FState; }
  bool Hot() const { return FMouseInControl; }
  bool Tracking() const { return FDragging; }
  TZorvexButtonGlyph& ButtonGlyph() { return *FGlyph; }
  // Where a held button counts the pointer as inside, in its coordinates:
  // moving there shows it pressed, releasing there clicks.
  bool InTrackingArea(int x, int y) const;

  void Paint(TCanvas& canvas) override;
  void WndProc(TMessage& message) override;

protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseEnter(TMessage& message) override;
  void MouseLeave(TMessage& message) override;
  void EnabledChanged(TMessage& message) override;
  void ActionChange(TAction& action, bool checkDefaults) override;
  void DialogChar(TMessage& message) override;
  void ButtonPressed(TMessage& message) override;
  void SysColorChange(TMessage& message) override;

private:
  void NotifyGroup();
  void RefreshHot();
  bool Pressed() const { return FState == StateDown || FState == StateLatched; }

  int FGroupIndex = 0;
  std::unique_ptr<TZorvexButtonGlyph> FGlyph;
  bool FDown = false;
  bool FDragging = false;
  bool FAllowAllUp = false;
  TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
  int FSpacing = 4;
  bool FTransparent = true;
  int FMargin = -1;
  bool FFlat = false;
  bool FMouseInControl = false;
  TButtonState FState = StateUp;
};

// Whether the platform's visual themes are on (never natively).
bool ThemesActive();
