#include "controls/ZorvexPanel.h"

#include "controls/Display.h"
#include "controls/ZorvexUtils.h"

TColor CaptionColor = clHighlight;

void InitZorvexPanel() {
  CaptionColor = DesktopAccentColor(clHighlight);
  EnsureContrast(CaptionColor, clBtnText, 175);
}

void DoneZorvexPanel() { ReleaseDesktopComposition(); }

TZorvexPanel::TZorvexPanel(TComponent* owner) : TPanel(owner) { SetParentBackground(false); }

TZorvexPanel::~TZorvexPanel() { SetFocusControl(nullptr); }

void TZorvexPanel::SetFocusControl(TWinControl* value) {
  if (FFocusControl) RemoveFreeNotification(FFocusControl);
  FFocusControl = value;
  if (value) value->FreeNotification(this);
}

void TZorvexPanel::Notification(TControl* removed) {
  TPanel::Notification(removed);
  if (removed == FFocusControl) FFocusControl = nullptr;
}

void TZorvexPanel::SetShowAccelChar(bool value) {
  if (value == FShowAccelChar) return;
  FShowAccelChar = value;
  Invalidate();
}

void TZorvexPanel::SetSubCaption(std::string_view value) {
  if (value == FSubCaption) return;
  FSubCaption = value;
  Invalidate();
}

void TZorvexPanel::AdjustClientRect(TRect& rect) {
  TPanel::AdjustClientRect(rect);
  rect.Left += 6;
  if (HasCaption()) {
    TCanvas& canvas = MeasureCanvas();
    rect.Top += canvas.TextHeight("M") + 6;
  }
}

void TZorvexPanel::DialogChar(TMessage& message) {
  if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(static_cast<unsigned>(message.WParam), Caption())) {
    if (FFocusControl->CanFocus()) {
      FFocusControl->SetFocus();
      message.Result = 1;
    }
    return;
  }
  TPanel::DialogChar(message);
}

void TZorvexPanel::Paint(TCanvas& canvas) {
  canvas.Font = Font();
  if (ModernLook()) PaintModern(canvas);
  else PaintClassic(canvas);
}

void TZorvexPanel::PaintModern(TCanvas& canvas) {
  const int W = Width(), H = Height();
  const int S = FSubCaption.empty() ? 0 : canvas.TextWidth(FSubCaption) + 4;
  const unsigned F = dtExpandTabs | (FShowAccelChar ? 0 : dtNoPrefix);
  TRect T{0, 0, 0, 0};
  canvas.DrawText(Caption(), T, F | dtCalcRect);
  T = OffsetRect(T, 2, 2);
  T.Right += 8;
  T.Bottom += 3;
  int E = S + T.Right;
  E = W > E ? E + (W - E) / 2 : W;

  canvas.BrushStyle = TBrushStyle::Solid;
  canvas.BrushColor = Color();
  canvas.FillRect({0, 0, W, H});
  FillGradient(canvas, {0, 0, 2, H}, Color(), clBtnShadow, true);
  if (!HasCaption()) return;
  FillGradient(canvas, {0, 0, E, 2}, Color(), clBtnShadow, false);
  FillGradient(canvas, {2, T.Bottom, E, T.Bottom + 1}, Color(), clBtnShadow, false);
  FillGradient(canvas, {2, 2, E, T.Bottom}, Color(), CaptionColor, false);
  canvas.SetPixel(0, 0, MixColors(clBtnShadow, Color(), 10));
  canvas.SetPixel(1, 0, MixColors(clBtnShadow, Color(), 50));
  canvas.SetPixel(0, 1, MixColors(clBtnShadow, Color(), 50));
  canvas.SetPixel(2, 2, MixColors(canvas.Pixel(2, 2), clBtnShadow, 50));
  canvas.BrushStyle = TBrushStyle::Clear;
  canvas.DrawText(Caption(), T, F | dtSingleLine | dtCenter | dtVCenter);
  if (!FSubCaption.empty()) {
    TRect sub{T.Right, T.Top, W, T.Bottom};
    canvas.DrawText(FSubCaption, sub, dtVCenter | dtSingleLine | dtExpandTabs | dtNoPrefix);
  }
}

void TZorvexPanel::PaintClassic(TCanvas& canvas) {
  const int W = Width(), H = Height();
  canvas.Font.Color = clWhite;
  const unsigned F = dtCenter | dtVCenter | dtExpandTabs | (FShowAccelChar ? 0 : dtNoPrefix);
  TRect T{0, 0, 0, 0};
  canvas.DrawText(Caption(), T, F | dtCalcRect);
  T.Right += 8;
  T.Bottom += 5;
  canvas.BrushStyle = TBrushStyle::Solid;
  canvas.BrushColor = Color();
  canvas.FillRect({0, 0, W, H});
  canvas.BrushColor = clGray;
  if (HasCaption()) canvas.FillRect(T);
  canvas.FillRect({0, 1, 2, H});
  canvas.BrushStyle = TBrushStyle::Clear;
  canvas.DrawText(Caption(), T, F | dtSingleLine);
  if (!FSubCaption.empty()) {
    canvas.Font.Color = clBtnText;
    TRect sub{T.Right + 4, T.Top, W, T.Bottom};
    canvas.DrawText(FSubCaption, sub, dtVCenter | dtSingleLine | dtExpandTabs | dtNoPrefix);
  }
}
