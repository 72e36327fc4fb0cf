#pragma once
// The Windows build's side of a windowed control: its window, one static
// window procedure per kind (our own class, or a standard class we
// subclass) that hands the messages to the control, double-buffered
// painting of the control and its windowless children, the colours and
// notifications of child standard controls, hot tracking, and the hints of
// a top window's tree as tooltips.

#include <memory>
#include <string>

#include "ui/WinControl.h"
#include "ui/win32/GdiObjects.h"

class TToolTips;

class TWindow {
public:
  static std::unique_ptr<TWindow> Create(TWinControl& control);
  ~TWindow();
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  HWND Handle() const { return FHandle; }
  TWinControl& Control() const { return FControl; }
  // The control whose window this is, none for windows not ours.
  static TWinControl* ControlOf(HWND window);

  void Invalidate();
  void Update();
  // False when the window would not hold the text whole; it keeps its
  // old text then.
  bool SetText(std::string text);
  std::string Text() const;
  void SetEnabled(bool enabled);
  void SetVisible(bool visible);
  void SetBounds(const TRect& bounds);
  void SetFont(const TFont& font);
  void Focus();
  TPoint ClientOrigin() const;
  // The tooltip window of a top window, with the hints of its tree's
  // controls as they are now; once, after the tree's windows are made.
  void HintsNeeded();
  // What the platform does with a message the control leaves alone.
  LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
  explicit TWindow(TWinControl& control);
  static LRESULT CALLBACK OwnProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK StandardProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT StandardDispatch(UINT msg, WPARAM wParam, LPARAM lParam);
  void PaintInto(HDC dc, const RECT& area);
  void Paint();
  void TrackLeave();
  bool ChildCommand(HWND child, unsigned code);
  LRESULT ChildColours(HWND child, HDC dc);
  HBRUSH BackgroundBrush();
  void RelayToHints(UINT msg, WPARAM wParam, LPARAM lParam);

  TWinControl& FControl;
  HWND FHandle = nullptr;
  WNDPROC FStandardProc = nullptr;
  bool FTrackingLeave = false;
  TGdiObject<HBRUSH> FBackground;
  TColor FBackgroundColor = clNone;
  std::unique_ptr<TToolTips> FToolTips;
};

// Why a text did not go into its window.
inline constexpr const char* kTextCut = "The text does not fit into its window.";

// What the framework's common code asks of the platform.
void CaptureWindowMouse(TControl* control);
TPoint WindowCursorPos();
TControl* WindowControlAtCursor(bool allowDisabled);
TWinControl* WindowFocusedControl();
std::unique_ptr<TCanvas> CreateMeasureCanvas();
// The module (DLL or program) this code is linked into.
HINSTANCE ModuleHandle();
