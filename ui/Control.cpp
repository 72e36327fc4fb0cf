#include "ui/Control.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "ui/Action.h"
#include "ui/Platform.h"
#include "ui/WinControl.h"

bool IsAccel(unsigned key, std::string_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    const auto upper = [](unsigned c) { return c < 256 ? static_cast<unsigned>(std::toupper(static_cast<int>(c))) : c; };
    return upper(static_cast<unsigned char>(caption[i + 1])) == upper(key);
  }
  return false;
}

TShiftState MouseShiftState(std::uintptr_t keys) {
  TShiftState shift = 0;
  if (keys & mkLeft) shift |= ssLeft;
  if (keys & mkRight) shift |= ssRight;
  if (keys & mkShift) shift |= ssShift;
  if (keys & mkControl) shift |= ssCtrl;
  return shift;
}

namespace {
TControl* GCapture = nullptr;
TControl* GMouseControl = nullptr;
}  // namespace

TControl* MouseCapture() { return GCapture; }
TControl* MouseControl() { return GMouseControl; }

void SetMouseCapture(TControl* control) {
  GCapture = control;
  PlatformCaptureMouse(control);
}

TPoint CursorPos() { return PlatformCursorPos(); }
void ForgetMouseCapture() { GCapture = nullptr; }

void NoteMouseControl(TControl* now) {
  TControl* before = GMouseControl;
  if (now == before) return;
  GMouseControl = now;
  if (before) before->Perform(CM_MOUSELEAVE);
  if (now) now->Perform(CM_MOUSEENTER);
}

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
  for (TControl* other : std::exchange(FFreeNotifies, {})) {
    std::erase(other->FFreeNotifies, this);
    other->Notification(this);
  }
  if (GCapture == this) GCapture = nullptr;
  if (GMouseControl == this) GMouseControl = nullptr;
  if (FParent) FParent->RemoveControl(this);
}

void TControl::FreeNotification(TControl* other) {
  if (!other || other == this || std::find(FFreeNotifies.begin(), FFreeNotifies.end(), other) != FFreeNotifies.end()) return;
  FFreeNotifies.push_back(other);
  other->FFreeNotifies.push_back(this);  // and this one hears of `other`, to forget it in time
}

void TControl::RemoveFreeNotification(TControl* other) {
  std::erase(FFreeNotifies, other);
  if (other) std::erase(other->FFreeNotifies, this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (FParent) FParent->RemoveControl(this);
  if (parent) parent->InsertControl(this);
  if (FParentFont) ParentFontChanged();
  if (FParentColor) ParentColorChanged();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (FParent) FParent->Invalidate();
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  Invalidate();
}

TPoint TControl::ClientOrigin() const {
  if (!FParent) return {FLeft, FTop};
  const TPoint origin = FParent->ClientOrigin();
  return {origin.X + FLeft, origin.Y + FTop};
}

TPoint TControl::ScreenToClient(TPoint p) const {
  const TPoint origin = ClientOrigin();
  return {p.X - origin.X, p.Y - origin.Y};
}

TPoint TControl::ClientToScreen(TPoint p) const {
  const TPoint origin = ClientOrigin();
  return {p.X + origin.X, p.Y + origin.Y};
}

void TControl::SetCaption(std::string_view value) {
  if (value == FCaption) return;
  FCaption = value;
  Perform(CM_TEXTCHANGED);
}

void TControl::SetFont(const TFont& value) {
  FParentFont = false;
  if (value == FFont) return;
  FFont = value;
  Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool value) {
  FParentFont = value;
  if (value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!FParentFont || !FParent || FParent->Font() == FFont) return;
  FFont = FParent->Font();
  Perform(CM_FONTCHANGED);
}

void TControl::SetColor(TColor value) {
  FParentColor = false;
  if (value == FColor) return;
  FColor = value;
  ColorChanged();
}

void TControl::SetParentColor(bool value) {
  FParentColor = value;
  if (value) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!FParentColor || !FParent || FParent->Color() == FColor) return;
  FColor = FParent->Color();
  ColorChanged();
}

void TControl::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetVisible(bool value) {
  if (value == FVisible) return;
  if (!value) Invalidate();
  FVisible = value;
  VisibleChanged();
  if (value) Invalidate();
  if (FParent) FParent->Invalidate();
}

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

std::intptr_t TControl::Perform(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
  TMessage message{msg, wParam, lParam, 0};
  WndProc(message);
  return message.Result;
}

void TControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case MSG_MOUSEMOVE:
    case MSG_LBUTTONDOWN:
    case MSG_LBUTTONUP:
    case MSG_LBUTTONDBLCLK:
    case MSG_RBUTTONDOWN:
    case MSG_RBUTTONUP: DispatchMouse(message); break;
    case CM_MOUSEENTER: MouseEnter(message); break;
    case CM_MOUSELEAVE: MouseLeave(message); break;
    case CM_ENABLEDCHANGED: EnabledChanged(message); break;
    case CM_FONTCHANGED: FontChanged(message); break;
    case CM_TEXTCHANGED: TextChanged(message); break;
    case CM_DIALOGCHAR: DialogChar(message); break;
    case CM_BUTTONPRESSED: ButtonPressed(message); break;
    case CM_SYSCOLORCHANGE: SysColorChange(message); break;
    default: DefaultHandler(message); break;
  }
}

// Mouse messages carry client coordinates and the platform's key flags.
// A press takes the mouse for controls that capture it; the release gives
// it back after the control has seen it.
void TControl::DispatchMouse(TMessage& message) {
  const int x = MouseX(message.LParam), y = MouseY(message.LParam);
  TShiftState shift = MouseShiftState(message.WParam);
  switch (message.Msg) {
    case MSG_MOUSEMOVE: MouseMove(shift, x, y); break;
    case MSG_LBUTTONDOWN:
    case MSG_LBUTTONDBLCLK:
      // Without csDoubleClicks a double click is a second press.
      if ((FControlStyle & csCaptureMouse) && MouseCapture() != this) SetMouseCapture(this);
      FClicking = (FControlStyle & csClickEvents) != 0;
      if (message.Msg == MSG_LBUTTONDBLCLK && (FControlStyle & csDoubleClicks)) {
        if (FControlStyle & csClickEvents) DblClick();
        shift |= ssDouble;
      }
      MouseDown(TMouseButton::Left, shift, x, y);
      break;
    case MSG_LBUTTONUP: {
      const bool click = FClicking && TRect{0, 0, FWidth, FHeight}.Contains({x, y});
      FClicking = false;
      MouseUp(TMouseButton::Left, shift, x, y);
      if (MouseCapture() == this) SetMouseCapture(nullptr);
      if (click) Click();
      break;
    }
    case MSG_RBUTTONDOWN: MouseDown(TMouseButton::Right, shift, x, y); break;
    case MSG_RBUTTONUP: MouseUp(TMouseButton::Right, shift, x, y); break;
  }
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(*this);
}

void TControl::Click() {
  if (OnClick) OnClick(*this);
  else if (FAction) FAction->Execute();
}

void TControl::SetAction(TAction* action) {
  FAction = action;
  if (action) ActionChange(*action, true);
}

void TControl::ActionChange(TAction& action, bool checkDefaults) {
  if (!checkDefaults || FCaption.empty()) SetCaption(action.Caption);
  if (!checkDefaults || FEnabled) SetEnabled(action.Enabled);
  if (!checkDefaults || FHint.empty()) SetHint(action.Hint);
}

void TControl::MouseEnter(TMessage&) {}
void TControl::MouseLeave(TMessage&) {}
void TControl::EnabledChanged(TMessage&) { Invalidate(); }
void TControl::FontChanged(TMessage&) { Invalidate(); }
void TControl::TextChanged(TMessage&) { Invalidate(); }
void TControl::DialogChar(TMessage&) {}
void TControl::ButtonPressed(TMessage&) {}
void TControl::SysColorChange(TMessage&) { Invalidate(); }
void TControl::DefaultHandler(TMessage&) {}
void TControl::Paint(TCanvas&) {}

void TControl::Invalidate() {
  if (FParent && FVisible) FParent->Invalidate();
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

TCanvas& TControl::MeasureCanvas() {
  if (!FMeasureCanvas) FMeasureCanvas = CreateMeasureCanvas();
  FMeasureCanvas->Font = FFont;
  return *FMeasureCanvas;
}

TControl* ControlAtCursor(const TControl& anyOfWindow, bool allowDisabled) {
  return PlatformControlAtCursor(anyOfWindow, allowDisabled);
}
