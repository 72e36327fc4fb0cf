#include "ui/Platform.h"

#include "ui/win32/Window.h"

// The Windows build: the system's mouse, pointer and focus.

bool PlatformHasWindows() { return true; }

void PlatformCaptureMouse(TControl* control) {
  if (!control) {
    if (GetCapture()) ReleaseCapture();
    return;
  }
  TControl* holder = control;
  while (holder && !dynamic_cast<TWinControl*>(holder)) holder = holder->Parent();
  auto* windowed = static_cast<TWinControl*>(holder);
  if (TWindow* window = windowed ? WindowOf(*windowed) : nullptr) SetCapture(window->Handle());
}

TPoint PlatformCursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

// The system knows where the pointer is.
void PlatformNoteCursorPos(TPoint) {}

TControl* PlatformControlAtCursor(const TControl&, bool allowDisabled) {
  POINT p{};
  GetCursorPos(&p);
  TWinControl* control = TWindow::ControlOf(WindowFromPoint(p));
  if (!control) return nullptr;
  const TPoint client = control->ScreenToClient({p.x, p.y});
  TControl* child = control->ControlAtPos(client, allowDisabled, false);
  return child ? child : control;
}

void PlatformFocus(TWinControl& control) {
  if (TWindow* window = WindowOf(control)) window->Focus();
}

TWinControl* PlatformFocusedControl() { return TWindow::ControlOf(GetFocus()); }
void PlatformForgetFocus(const TWinControl&) {}

void* ModuleHandle() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ModuleHandle), &module);
  return module;
}
