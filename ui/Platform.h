#pragma once
// The one seam between the framework's common code and the platform. The
// Windows build (win32/PlatformWin32.cpp, win32/Window.cpp) gives windowed
// controls real windows and asks the system for the mouse, the pointer and
// the focus; the native build (PlatformNative.cpp) has no screen: no control
// gets a window, and the pointer and the focus are what the framework's own
// messages made them, so tests drive controls with synthesised messages.

#include <cstdint>
#include <memory>
#include <string>

#include "ui/Canvas.h"

class TControl;
class TWinControl;

// A windowed control's window, as the common code drives it.
class TPlatformWindow {
public:
  virtual ~TPlatformWindow() = default;

  virtual void Invalidate() = 0;
  virtual void Update() = 0;
  // False when the window would not hold the text whole; it keeps its old
  // text then.
  virtual bool SetText(const std::string& text) = 0;
  virtual std::string Text() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetBounds(const TRect& bounds) = 0;
  virtual void SetFont(const TFont& font) = 0;
  virtual void Focus() = 0;
  virtual void BringToTop() = 0;
  virtual TPoint ClientOrigin() const = 0;
  // The tooltips of a top window's tree, once its windows are made.
  virtual void HintsNeeded() = 0;
  // What the platform does with a message the control leaves alone.
  virtual std::intptr_t DefaultProc(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};

// Whether windowed controls get windows at all: the platform then routes
// the mouse to each window by itself, and a top control shows only once
// its window is made.
bool PlatformHasWindows();
// The control's window, made now (its parent's exists); none natively or
// when the system refuses.
std::unique_ptr<TPlatformWindow> CreatePlatformWindow(TWinControl& control);
// Why a text did not go into its window.
inline constexpr const char* kTextCut = "The text does not fit into its window.";

// The system's side of the mouse held from a press to its release.
void PlatformCaptureMouse(TControl* control);
// Where the pointer is, in screen coordinates; natively the last position
// noted, where the top control of a tree was handed a mouse message.
TPoint PlatformCursorPos();
void PlatformNoteCursorPos(TPoint p);
// The control under the pointer: within `anyOfWindow`'s top window
// natively, the window under the pointer in the Windows build; none over a
// window that is not ours.
TControl* PlatformControlAtCursor(const TControl& anyOfWindow, bool allowDisabled);

// The keyboard focus: given to a control, asked for, and forgotten with a
// control that goes.
void PlatformFocus(TWinControl& control);
TWinControl* PlatformFocusedControl();
void PlatformForgetFocus(const TWinControl& control);

// A canvas for measuring text outside painting.
std::unique_ptr<TCanvas> CreateMeasureCanvas();
// The module (library or program) this code is linked into; none natively.
void* ModuleHandle();
