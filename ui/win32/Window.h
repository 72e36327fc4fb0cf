#pragma once
// The Windows build's side of a windowed control: its window, one static
// window procedure per kind (our own class, or a standard class we
// subclass) that hands the messages to the control, double-buffered
// painting of the control and its windowless children, the colours and
// notifications of child standard controls, hot tracking, the cursor the
// control under the pointer asks for, and the hints of a top window's tree
// as tooltips. The window hands its messages to its control, which answers
// them itself (a form its dialog keys and the close box); of the controls
// beyond TWinControl it knows only what a form asks of a top-level window
// (its owner, its place) and which dialog keys an edit keeps.

#include <memory>
#include <string>

#include "ui/Platform.h"
#include "ui/WinControl.h"
#include "ui/win32/GdiObjects.h"

class TCustomEdit;
class TForm;
class TToolTips;

class TWindow : public TPlatformWindow {
public:
  static std::unique_ptr<TWindow> Create(TWinControl& control);
  ~TWindow() override;
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  HWND Handle() const { return FHandle; }
  TWinControl& Control() const { return FControl; }
  // The control whose window this is, none for windows not ours.
  static TWinControl* ControlOf(HWND window);

  void Invalidate() override;
  void Update() override;
  bool SetText(const std::string& text) override;
  std::string Text() const override;
  void SetEnabled(bool enabled) override;
  void SetVisible(bool visible) override;
  void SetBounds(const TRect& bounds) override;
  void SetFont(const TFont& font) override;
  void Focus() override;
  void BringToTop() override;
  TPoint ClientOrigin() const override;
  void HintsNeeded() override;
  std::intptr_t DefaultProc(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) override;

private:
  explicit TWindow(TWinControl& control);
  static LRESULT CALLBACK OwnProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK StandardProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT StandardDispatch(UINT msg, WPARAM wParam, LPARAM lParam);
  void PaintInto(HDC dc, const RECT& area);
  void Paint();
  void TrackLeave();
  bool SetControlCursor(WPARAM window);
  bool ChildCommand(HWND child, unsigned code);
  LRESULT ChildColours(HWND child, HDC dc);
  HBRUSH BackgroundBrush();
  void RelayToHints(UINT msg, WPARAM wParam, LPARAM lParam);

  TWinControl& FControl;
  TForm* FForm = nullptr;        // the control, when it is a top-level form
  TCustomEdit* FEdit = nullptr;  // the control, when it is an edit
  HWND FHandle = nullptr;
  WNDPROC FStandardProc = nullptr;
  bool FTrackingLeave = false;
  TGdiObject<HBRUSH> FBackground;
  TColor FBackgroundColor = clNone;
  std::unique_ptr<TToolTips> FToolTips;
};

// A windowed control's window in this build, none before it was made.
TWindow* WindowOf(const TWinControl& control);
