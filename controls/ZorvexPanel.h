#pragma once
// The group panel: a caption in a coloured band at the top left, an optional
// second text beside it, shaded left and top edges, and an accelerator in the
// caption that moves the focus to a chosen control.

#include <string>

#include "ui/Panel.h"

class TZorvexPanel : public TPanel {
public:
  explicit TZorvexPanel(TComponent* owner);
  ~TZorvexPanel() override;

  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool value);
  const std::string& SubCaption() const { return FSubCaption; }
  void SetSubCaption(std::string_view value);

  void AdjustClientRect(TRect& rect) override;
  void Paint(TCanvas& canvas) override;

protected:
  void DialogChar(TMessage& message) override;
  void Notification(TControl* removed) override;

private:
  bool HasCaption() const { return !Caption().empty() || !FSubCaption.empty(); }
  void PaintModern(TCanvas& canvas);
  void PaintClassic(TCanvas& canvas);

  TWinControl* FFocusControl = nullptr;
  bool FShowAccelChar = true;
  std::string FSubCaption;
};

// The colour at the left end of the caption band: the desktop's accent
// colour while the desktop composes windows, else the highlight colour,
// made readable against the button text colour. Set at start-up.
extern TColor CaptionColor;
void InitZorvexPanel();
void DoneZorvexPanel();
