#pragma once
// The standard tooltip window of a form: the form's window owns one for its
// whole tree. A windowed control is a tool by its own window, a windowless
// one a rectangle of its parent's window. Our window procedures hand their
// mouse messages on (Relay), so no window is subclassed a second time.

#include <string>

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
  // The tip `text` over the whole of `window`.
  void AddWindowTool(HWND window, const std::string& text);
  // The tip `text` over the rectangle `r` of the window `host`.
  void AddRectTool(HWND host, const RECT& r, const std::string& text);
  // A mouse message of one of the tree's windows.
  void Relay(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

private:
  HWND FHandle = nullptr;
  UINT_PTR FNextId = 1;
};
