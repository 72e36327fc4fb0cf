#include "controls/ZorvexButton.h"

#include "controls/Display.h"
#include "controls/ZorvexUtils.h"
#include "ui/Action.h"
#include "ui/RasterCanvas.h"
#include "ui/WinControl.h"

TZorvexButton::TZorvexButton(TComponent* owner)
    : TGraphicControl(owner), FGlyph(std::make_unique<TZorvexButtonGlyph>()) {
  FGlyph->OnChange = [this](TZorvexButtonGlyph&) { Invalidate(); };
  SetBounds(0, 0, 24, 24);
  SetControlStyle(csCaptureMouse | csDoubleClicks);
  SetParentFont(true);
  SetParentColor(true);
}

TZorvexButton::~TZorvexButton() { FGlyph->OnChange = nullptr; }

void TZorvexButton::Loaded() { FGlyph->MakeStateImage(Enabled() ? StateUp : StateDisabled); }

void TZorvexButton::SetAllowAllUp(bool value) {
  if (value == FAllowAllUp) return;
  FAllowAllUp = value;
  NotifyGroup();
}

void TZorvexButton::SetGroupIndex(int value) {
  if (value == FGroupIndex) return;
  FGroupIndex = value;
  NotifyGroup();
}

void TZorvexButton::SetDown(bool value) {
  if (FGroupIndex == 0) value = false;
  if (value == FDown || (FDown && !FAllowAllUp)) return;
  FDown = value;
  if (value) {
    if (FState == StateUp) Invalidate();
    FState = StateLatched;
    NotifyGroup();
  } else {
    FState = StateUp;
    Repaint();
  }
}

void TZorvexButton::SetFlat(bool value) {
  if (value == FFlat) return;
  FFlat = value;
  Invalidate();
}

void TZorvexButton::SetGlyph(const TBitmap* value) {
  FGlyph->SetGlyphBitmap(value);
  Invalidate();
}

void TZorvexButton::SetLayout(TButtonLayout value) {
  if (value == FLayout) return;
  FLayout = value;
  Invalidate();
}

void TZorvexButton::SetMargin(int value) {
  if (value == FMargin || value < -1) return;
  FMargin = value;
  Invalidate();
}

void TZorvexButton::SetNumGlyphs(int value) {
  if (value > 4) value = 4;
  if (value < 1) value = 1;
  if (value == FGlyph->NumGlyphs()) return;
  FGlyph->SetGlyphCount(value);
  Invalidate();
}

void TZorvexButton::SetSpacing(int value) {
  if (value == FSpacing) return;
  FSpacing = value;
  Invalidate();
}

void TZorvexButton::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  Invalidate();
}

void TZorvexButton::NotifyGroup() {
  if (FGroupIndex == 0 || !Parent()) return;
  TMessage message{CM_BUTTONPRESSED, static_cast<std::uintptr_t>(FGroupIndex),
                   reinterpret_cast<std::intptr_t>(static_cast<TControl*>(this)), 0};
  Parent()->Broadcast(message);
}

void TZorvexButton::Paint(TCanvas& canvas) {
  if (!Enabled()) {
    FState = StateDisabled;
    FDragging = false;
  } else if (FState == StateDisabled) {
    FState = FDown && FGroupIndex != 0 ? StateLatched : StateUp;
  }
  const TPoint offset = Pressed() ? TPoint{1, 1} : TPoint{0, 0};
  TRect r = ClientRect();
  canvas.Font = Font();

  if (ModernLook()) {
    if (!FFlat || Pressed() || FDown || FMouseInControl) {
      DrawButtonFace(canvas, r, Enabled(), Pressed(), FFlat, FMouseInControl);
    } else if (!ThemesActive()) {
      // With themes the parent's background, painted before its windowless
      // children, already shows through.
      canvas.BrushStyle = TBrushStyle::Solid;
      canvas.BrushColor = Color();
      canvas.FillRect(r);
    }
  } else {
    if (!FFlat) {
      canvas.DrawFrameControl(r, dfcButton, dfcsButtonPush | dfcsAdjustRect | (Pressed() ? dfcsPushed : 0));
    } else {
      canvas.BrushStyle = TBrushStyle::Solid;
      canvas.BrushColor = Color();
      canvas.FillRect(r);
      if (Pressed() || (FMouseInControl && FState != StateDisabled)) {
        TRect edge = r;
        canvas.DrawEdge(edge, Pressed() ? bdrSunkenOuter : bdrRaisedInner,
                        bfRect | (FTransparent ? 0 : bfMiddle));
      }
      r = InflatedRect(r, -1, -1);
    }
    if (FState == StateLatched && (!FFlat || !FMouseInControl)) {
      canvas.BrushStyle = TBrushStyle::Pattern;
      canvas.BrushColor = clBtnFace;
      canvas.BrushPatternColor = clBtnHighlight;
      canvas.FillRect(r);
      canvas.BrushStyle = TBrushStyle::Solid;
    }
  }
  FGlyph->DrawContent(canvas, r, offset, Caption(), FLayout, FMargin, FSpacing, FState, FTransparent, 0);
}

// The columns 0 to width - 1 and the rows 0 to height: the row just below
// the button still counts, as it always has for this button; tests pin it.
bool TZorvexButton::InTrackingArea(int x, int y) const {
  return x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight();
}

void TZorvexButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::Left || !Enabled()) return;
  if (!FDown) {
    FState = StateDown;
    Repaint();
  }
  FDragging = true;
}

void TZorvexButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (FDragging) {
    TButtonState state = FDown ? StateLatched : StateUp;
    if (InTrackingArea(x, y)) state = FDown ? StateLatched : StateDown;
    if (state != FState) {
      FState = state;
      Repaint();
    }
  } else if (!FMouseInControl) {
    RefreshHot();
  }
}

void TZorvexButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!FDragging) return;
  FDragging = false;
  const bool inside = InTrackingArea(x, y);
  if (FGroupIndex == 0) {
    FState = StateUp;
    FMouseInControl = false;
    if (inside) Repaint();
  } else if (inside) {
    SetDown(!FDown);
    if (FDown) Repaint();
  } else {
    if (FDown) FState = StateLatched;
    Repaint();
  }
  if (inside) Click();
  RefreshHot();
}

// Sets hot to the opposite of the truth and lets the enter or leave handler
// put it right, so that the face is painted once with the true value.
void TZorvexButton::RefreshHot() {
  if (!Enabled()) return;
  FMouseInControl = ControlAtCursor(*this, true) != this;
  Perform(FMouseInControl ? CM_MOUSELEAVE : CM_MOUSEENTER);
}

void TZorvexButton::MouseEnter(TMessage& message) {
  TGraphicControl::MouseEnter(message);
  if (FMouseInControl || !Enabled()) return;
  FMouseInControl = true;
  Repaint();
}

void TZorvexButton::MouseLeave(TMessage& message) {
  TGraphicControl::MouseLeave(message);
  if (!FMouseInControl || !Enabled() || FDragging) return;
  FMouseInControl = false;
  Repaint();
}

void TZorvexButton::EnabledChanged(TMessage&) {
  FGlyph->MakeStateImage(Enabled() ? StateUp : StateDisabled);
  RefreshHot();
  Repaint();
}

// An action's image becomes the glyph of a button that has none.
void TZorvexButton::ActionChange(TAction& action, bool checkDefaults) {
  TGraphicControl::ActionChange(action, checkDefaults);
  if (!action.HasImage() || !FGlyph->GlyphBitmap().Empty()) return;
  const TImageList& images = *action.ActionList()->Images;
  TBitmap glyph(images.Width(), images.Height(), clFuchsia);
  images.Draw(glyph.Canvas(), 0, 0, action.ImageIndex);
  FGlyph->SetGlyphBitmap(&glyph);
}

void TZorvexButton::DialogChar(TMessage& message) {
  if (IsAccel(static_cast<unsigned>(message.WParam), Caption()) && Enabled() && Visible() && Parent() &&
      Parent()->Showing()) {
    Click();
    message.Result = 1;
    return;
  }
  TGraphicControl::DialogChar(message);
}

void TZorvexButton::ButtonPressed(TMessage& message) {
  auto* sender = dynamic_cast<TZorvexButton*>(reinterpret_cast<TControl*>(message.LParam));
  if (static_cast<int>(message.WParam) != FGroupIndex || !sender || sender == this) return;
  if (sender->FDown && FDown) {
    FDown = false;
    FState = StateUp;
    Invalidate();
  }
  FAllowAllUp = sender->FAllowAllUp;
}

void TZorvexButton::SysColorChange(TMessage&) {
  FGlyph->ReleaseImages();
  FGlyph->MakeStateImage(FState);
}

void TZorvexButton::WndProc(TMessage& message) {
  TGraphicControl::WndProc(message);
  if (message.Msg == MSG_LBUTTONDBLCLK && FDown) DblClick();
}
