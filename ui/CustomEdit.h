#pragma once
// What the standard edits share: their text, and the number of characters
// an author may type into them, 0 for no limit. The limit holds for typing
// only; a text set by the program is taken whole.
//
// While the edit has a window, the author types into the window and the
// edit copies nothing per keystroke: Text reads the window when asked, and
// the edit keeps the window's text when the window goes, so that what a
// dialog writes back after it closed is what the edit showed.

#include <string>

#include "ui/WinControl.h"

// The dialog keys a standard control can keep for itself when the platform
// asks which keys it wants: Tab (and Escape with it) and Enter. Those it
// leaves move the focus, cancel and press the default button.
constexpr unsigned dkTab = 0x1, dkReturn = 0x2;

class TCustomEdit : public TWinControl {
public:
  using TWinControl::TWinControl;

  std::string Text() const;
  void SetText(std::string_view value);
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int value);
  // The dialog keys it keeps (dkTab, dkReturn); all by default.
  virtual unsigned WantedDialogKeys() const { return dkTab | dkReturn; }

  const char* WindowClass() const override { return "EDIT"; }
  void WindowCreated() override;
  void WindowDestroying() override;

private:
  int FMaxLength = 0;
};
