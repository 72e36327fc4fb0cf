#include "ui/Memo.h"

#include "ui/WindowStyles.h"

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner) {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 185, 89);
}

std::vector<std::string> TMemo::Lines() const {
  std::vector<std::string> lines;
  const std::string text = Text();
  size_t start = 0;
  while (start <= text.size() && !text.empty()) {
    const size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  return lines;
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  SetCaption(text);
}

void TMemo::Paint(TCanvas& canvas) {
  TRect r = ClientRect();
  if (FBorder) canvas.DrawEdge(r, edgeSunken, bfRect | bfAdjust);
  canvas.BrushStyle = TBrushStyle::Solid;
  canvas.BrushColor = Color();
  canvas.FillRect(r);
  canvas.Font = Font();
  canvas.DrawText(Text(), r, dtExpandTabs | dtNoPrefix | dtWordBreak);
}

unsigned TMemo::WindowStyle() const {
  return esMultiline | esAutoVScroll | (FReadOnly ? esReadOnly : 0) | (FWantReturns ? esWantReturn : 0) |
         (FScrollBars == TScrollStyle::Vertical ? wsVScroll : 0) | (TabStop() ? wsTabStop : 0);
}

unsigned TMemo::WindowExStyle() const { return FBorder ? wsExClientEdge : 0; }

// A multi-line edit would keep every key: unless it wants tabs it leaves
// Tab and Escape to the dialog, and Enter unless it wants returns.
unsigned TMemo::WantedDialogKeys() const { return (FWantTabs ? dkTab : 0) | (FWantReturns ? dkReturn : 0); }
