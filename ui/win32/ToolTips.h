#pragma once
// The hints of a form's controls as the standard tooltip window. The form's
// window owns one tooltip window for its whole tree: a windowed control is a
// tool by its own window, a windowless one a rectangle (its bounds) of its
// parent's window. Our window procedures hand their mouse messages on
// (Relay), so no window is subclassed a second time.

#include "ui/WinControl.h"
#include "ui/win32/WinApi.h"

class TToolTips {
public:
  // Creates the tooltip window, owned by `owner`; none when the system
  // refuses (the form then shows no hints).
  explicit TToolTips(HWND owner);
  ~TToolTips();
  TToolTips(const TToolTips&) = delete;
  TToolTips& operator=(const TToolTips&) = delete;

  HWND Handle() const { return FHandle; }
  // A tool for every control under `root` (itself included) whose ShowHint
  // is set and whose hint is not empty; controls without a window yet are
  // left out.
  void AddTools(TWinControl& root);
  // A mouse message of one of the tree's windows.
  void Relay(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

private:
  void AddTool(TControl& control);

  HWND FHandle = nullptr;
  UINT_PTR FNextId = 1;
};
