#pragma once
// The tinted help box: a file card with a tab at its top left holding a
// small glyph and the caption, and a pale body for a memo or a label.
//
// Its Color is set by the dialogs to the body's colour, but Paint draws a
// fixed body and never reads it; only children that take their parent's
// colour would, and nothing in the plug-in does.

#include "ui/Bitmap.h"
#include "ui/Panel.h"

class TZorvexHelpBox2 : public TPanel {
public:
  explicit TZorvexHelpBox2(TComponent* owner);

  // Below the tab, inset by 5 on every side.
  void AdjustClientRect(TRect& rect) override;
  void Paint(TCanvas& canvas) override;

  // The tab for the current caption and font: width and height.
  int TabWidth(TCanvas& canvas) const;
  int TabHeight(TCanvas& canvas) const;
};

// The glyph every help box shows, loaded at start-up (the 16-colour picture
// below 256 display colours, the true-colour one from 256 on).
const TBitmap* HelpBoxGlyph();
void InitZorvexHelpBox2();
void DoneZorvexHelpBox2();
