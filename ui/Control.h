#pragma once
// The control base: bounds, caption, font, colour, enabled and visible
// flags, parent and owner, mouse and click events, and message dispatch to
// small virtual handlers. Windowed controls derive from TWinControl,
// windowless ones (painted on their parent's surface) from TGraphicControl.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/Component.h"
#include "ui/Canvas.h"
#include "ui/Messages.h"

class TAction;
class TWinControl;
class TControl;

enum class TMouseButton { Left, Right, Middle };

using TShiftState = unsigned;
constexpr TShiftState ssShift = 0x01, ssAlt = 0x02, ssCtrl = 0x04, ssLeft = 0x08, ssRight = 0x10,
                      ssMiddle = 0x20, ssDouble = 0x40;

// Where a control would stay when its parent is resized. The forms have a
// fixed size: the value is kept as designed; nothing in the plug-in reads it.
using TAnchors = unsigned;
constexpr TAnchors akLeft = 1, akTop = 2, akRight = 4, akBottom = 8;

// Control style flags.
constexpr unsigned csCaptureMouse = 0x01;   // holds the mouse from press to release
constexpr unsigned csDoubleClicks = 0x02;   // receives double clicks as such
constexpr unsigned csClickEvents = 0x08;    // a release inside after a press clicks

// The pointer's shape over a control; Default leaves it to the platform.
enum class TCursor { Default, HandPoint };

using TNotifyEvent = std::function<void(TControl& sender)>;
using TMouseEvent = std::function<void(TControl& sender, TMouseButton, TShiftState, int x, int y)>;
using TMouseMoveEvent = std::function<void(TControl& sender, TShiftState, int x, int y)>;

// True when `key` is the accelerator of `caption`: the character after a
// single "&", compared case-insensitively.
bool IsAccel(unsigned key, std::string_view caption);

class TControl : public TComponent {
public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  virtual TRect ClientRect() const { return {0, 0, FWidth, FHeight}; }
  int ClientWidth() const { return ClientRect().Right; }
  int ClientHeight() const { return ClientRect().Bottom; }
  // Client (0, 0) in screen coordinates (natively: the top control's).
  virtual TPoint ClientOrigin() const;
  TPoint ScreenToClient(TPoint p) const;
  TPoint ClientToScreen(TPoint p) const;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(std::string_view value);
  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& value);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  // Visible together with every parent.
  virtual bool Showing() const;
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors value) { FAnchors = value; }
  const std::string& Hint() const { return FHint; }
  void SetHint(std::string_view value) { FHint = value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool value) { FShowHint = value; }
  unsigned ControlStyle() const { return FControlStyle; }
  void SetControlStyle(unsigned value) { FControlStyle = value; }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor value) { FCursor = value; }

  // The action whose caption, state and command the control takes (not
  // owned; it must outlive the control).
  TAction* Action() const { return FAction; }
  void SetAction(TAction* action);

  // `other` is told (Notification) when this control is destroyed.
  void FreeNotification(TControl* other);
  void RemoveFreeNotification(TControl* other);

  TNotifyEvent OnClick, OnDblClick;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  std::intptr_t Perform(unsigned msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
  virtual void WndProc(TMessage& message);

  // Asks for a later repaint of the control's area.
  virtual void Invalidate();
  // Paints what was invalidated now.
  virtual void Update();
  void Repaint();
  virtual void Click();

  // The control's own painting, at its top-left corner on `canvas`.
  virtual void Paint(TCanvas& canvas);
  // A canvas for measuring text outside painting.
  TCanvas& MeasureCanvas();

protected:
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void DblClick();
  virtual void MouseEnter(TMessage& message);
  virtual void MouseLeave(TMessage& message);
  virtual void EnabledChanged(TMessage& message);
  virtual void FontChanged(TMessage& message);
  virtual void TextChanged(TMessage& message);
  virtual void DialogChar(TMessage& message);
  virtual void ButtonPressed(TMessage& message);
  virtual void SysColorChange(TMessage& message);
  virtual void DefaultHandler(TMessage& message);
  // A property inherited from the parent changed.
  virtual void ParentFontChanged();
  virtual void ParentColorChanged();
  virtual void VisibleChanged() {}
  // The action's properties reach the control; with `checkDefaults` only
  // where the control still has its own defaults.
  virtual void ActionChange(TAction& action, bool checkDefaults);
  virtual void ColorChanged() { Invalidate(); }
  // A control this one asked to hear about is being destroyed.
  virtual void Notification(TControl* removed) { (void)removed; }
  // Takes the text the window shows, without telling anyone.
  void StoreCaption(std::string_view value) { FCaption = value; }

private:
  void DispatchMouse(TMessage& message);

  TWinControl* FParent = nullptr;
  TAction* FAction = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  std::string FCaption;
  TFont FFont;
  bool FParentFont = true;
  TColor FColor = clBtnFace;
  bool FParentColor = false;
  bool FEnabled = true, FVisible = true;
  TAnchors FAnchors = akLeft | akTop;
  std::string FHint;
  bool FShowHint = false;
  unsigned FControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks;
  TCursor FCursor = TCursor::Default;
  bool FClicking = false;
  std::unique_ptr<TCanvas> FMeasureCanvas;
  std::vector<TControl*> FFreeNotifies;

  friend class TWinControl;
};

TShiftState MouseShiftState(std::uintptr_t keys);

// The control holding the mouse (from a press to its release), and the
// control last seen under the pointer.
TControl* MouseCapture();
void SetMouseCapture(TControl* control);
TControl* MouseControl();
// Where the pointer is, in screen coordinates (natively: the last position a
// mouse message was delivered at).
TPoint CursorPos();
// The platform took the mouse back (Windows build): forget the capture.
void ForgetMouseCapture();
// The control under the pointer: within `anyOfWindow`'s top window natively,
// the window under the pointer in the Windows build; none over a window that
// is not ours.
TControl* ControlAtCursor(const TControl& anyOfWindow, bool allowDisabled);
// Sends enter and leave notifications when the control under the pointer
// changed (`now` may be none: the pointer left our windows).
void NoteMouseControl(TControl* now);
