#include "ui/WinControl.h"

#include <algorithm>

#include "runtime/Exception.h"
#include "ui/Platform.h"
#include "ui/WindowStyles.h"

TWinControl* FocusedControl() { return PlatformFocusedControl(); }

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  PlatformForgetFocus(*this);
  while (!FControls.empty()) FControls.back()->SetParent(nullptr);
  DestroyHandle();
}

void TWinControl::InsertControl(TControl* control) {
  control->FParent = this;
  FControls.push_back(control);
  if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
    windowed->FTabOrder = -1;
    windowed->SetTabOrder(static_cast<int>(FControls.size()));
    if (FWindow) windowed->HandleNeeded();
  }
  Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
  if (MouseCapture() == control) SetMouseCapture(nullptr);
  if (auto* windowed = dynamic_cast<TWinControl*>(control)) windowed->DestroyHandle();
  std::erase(FControls, control);
  control->FParent = nullptr;
  Invalidate();
}

TRect TWinControl::AdjustedClientRect() {
  TRect r = ClientRect();
  AdjustClientRect(r);
  return r;
}

void TWinControl::AdjustClientRect(TRect&) {}

// Moves this control to place `value` among its windowed siblings and
// numbers them all again from 0.
void TWinControl::SetTabOrder(int value) {
  if (!Parent()) {
    FTabOrder = value;
    return;
  }
  std::vector<TWinControl*> order;
  for (TControl* sibling : Parent()->FControls)
    if (auto* windowed = dynamic_cast<TWinControl*>(sibling); windowed && windowed != this)
      order.push_back(windowed);
  std::stable_sort(order.begin(), order.end(),
                   [](auto* a, auto* b) { return static_cast<unsigned>(a->FTabOrder) < static_cast<unsigned>(b->FTabOrder); });
  order.insert(order.begin() + std::clamp(value, 0, static_cast<int>(order.size())), this);
  for (size_t i = 0; i < order.size(); ++i) order[i]->FTabOrder = static_cast<int>(i);
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (!CanFocus()) return;
  PlatformFocus(*this);
}

bool TWinControl::Focused() const { return FocusedControl() == this; }

void TWinControl::Broadcast(TMessage& message) {
  for (size_t i = 0; i < FControls.size(); ++i) {
    FControls[i]->WndProc(message);
    if (message.Result != 0) return;
  }
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool windowed) const {
  auto hit = [&](TControl* c) {
    return c->Visible() && (allowDisabled || c->Enabled()) && c->BoundsRect().Contains(p);
  };
  // Child windows lie above the windowless children.
  if (windowed)
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
      if (dynamic_cast<TWinControl*>(*it) && hit(*it)) return *it;
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
    if (!dynamic_cast<TWinControl*>(*it) && hit(*it)) return *it;
  return nullptr;
}

TControl* TWinControl::DeepControlAtPos(TPoint p, bool allowDisabled) {
  TControl* child = ControlAtPos(p, allowDisabled, true);
  if (!child) return this;
  if (auto* windowed = dynamic_cast<TWinControl*>(child))
    return windowed->DeepControlAtPos({p.X - child->Left(), p.Y - child->Top()}, allowDisabled);
  return child;
}

void TWinControl::WndProc(TMessage& message) {
  if (message.Msg >= MSG_MOUSEMOVE && message.Msg <= MSG_RBUTTONUP && RouteMouse(message)) return;
  TControl::WndProc(message);
}

// Hands a mouse message to the child holding the mouse or, failing that, to
// the child under the pointer, in that child's coordinates. With windows the
// platform routes the mouse to windowed controls by itself; without, the
// parent hands it on, and the top control of a tree notes where the pointer
// is and who is under it.
bool TWinControl::RouteMouse(TMessage& message) {
  const bool routeToWindowed = !PlatformHasWindows();
  const TPoint p{MouseX(message.LParam), MouseY(message.LParam)};
  const bool top = routeToWindowed && !Parent();
  if (top) PlatformNoteCursorPos(ClientToScreen(p));
  TControl* target = nullptr;
  TControl* capture = MouseCapture();
  if (capture && capture != this) {
    for (TControl* c = capture->Parent(); c && !target; c = c->Parent())
      if (c == this && (routeToWindowed || capture->Parent() == this)) target = capture;
  } else if (!capture) {
    target = ControlAtPos(p, false, routeToWindowed);
  }
  bool routed = false;
  if (target) {
    const TPoint q = target->ScreenToClient(ClientToScreen(p));
    message.Result = target->Perform(message.Msg, message.WParam, MousePos(q.X, q.Y));
    routed = true;
  }
  if (top && message.Msg == MSG_MOUSEMOVE) NoteMouseControl(ControlAtCursor(*this, true));
  return routed;
}

void TWinControl::DialogChar(TMessage& message) { Broadcast(message); }

void TWinControl::EnabledChanged(TMessage& message) {
  if (FWindow) FWindow->SetEnabled(Enabled());
  TControl::EnabledChanged(message);
}

void TWinControl::TextChanged(TMessage& message) {
  // A text the window cannot hold whole is refused, so that what the
  // control holds is always what the window shows.
  if (FWindow && !FWindow->SetText(Caption())) {
    StoreCaption(FWindow->Text());
    throw Exception(kTextCut);
  }
  TControl::TextChanged(message);
}

void TWinControl::FontChanged(TMessage& message) {
  if (FWindow) FWindow->SetFont(Font());
  for (TControl* child : FControls) child->ParentFontChanged();
  TControl::FontChanged(message);
}

void TWinControl::ColorChanged() {
  TControl::ColorChanged();
  for (TControl* child : FControls) child->ParentColorChanged();
}

bool TWinControl::Showing() const {
  if (!Visible()) return false;
  if (Parent()) return Parent()->Showing();
  return !PlatformHasWindows() || FWindow != nullptr;
}

void TWinControl::PaintControls(TCanvas& canvas, bool windowedToo) {
  const TPoint origin = canvas.Origin();
  const TRect clip = canvas.ClipRect();
  auto paintChild = [&](TControl* child) {
    const TCanvasState saved(canvas);
    const TRect area = Intersection(OffsetRect(clip, -child->Left(), -child->Top()),
                                    {0, 0, child->Width(), child->Height()});
    if (area.IsEmpty()) return;
    canvas.SetOriginAndClip({origin.X + child->Left(), origin.Y + child->Top()}, area);
    canvas.Font = child->Font();
    if (auto* windowed = dynamic_cast<TWinControl*>(child)) windowed->PaintTo(canvas);
    else child->Paint(canvas);
  };
  for (TControl* child : FControls)
    if (child->Visible() && !dynamic_cast<TWinControl*>(child)) paintChild(child);
  if (windowedToo)
    for (TControl* child : FControls)
      if (child->Visible() && dynamic_cast<TWinControl*>(child)) paintChild(child);
}

void TWinControl::PaintTo(TCanvas& canvas) {
  const TCanvasState whole(canvas);
  canvas.SetOriginAndClip(canvas.Origin(), Intersection(canvas.ClipRect(), {0, 0, Width(), Height()}));
  {
    const TCanvasState saved(canvas);
    canvas.Font = Font();
    Paint(canvas);
  }
  PaintControls(canvas, true);
}

void TWinControl::Invalidate() {
  if (FWindow) {
    FWindow->Invalidate();
    return;
  }
  if (Parent()) Parent()->Invalidate();
  else FInvalid = true;
}

void TWinControl::Update() {
  if (FWindow) {
    FWindow->Update();
    return;
  }
  if (Parent()) {
    Parent()->Update();
  } else if (FInvalid && FSurface) {
    FInvalid = false;
    PaintTo(*FSurface);
  }
}

unsigned TWinControl::WindowStyle() const {
  return FTabStop ? wsTabStop : 0;
}

// Our own containers let the dialog keys reach into their children.
unsigned TWinControl::WindowExStyle() const {
  return WindowClass() ? 0 : wsExControlParent;
}

// Children are made in tab order: the window order is what the dialog keys
// follow.
void TWinControl::HandleNeeded() {
  if (!FWindow) {
    FWindow = CreatePlatformWindow(*this);
    if (!FWindow) return;
    WindowCreated();
  }
  std::vector<TWinControl*> children;
  for (TControl* child : FControls)
    if (auto* windowed = dynamic_cast<TWinControl*>(child)) children.push_back(windowed);
  std::stable_sort(children.begin(), children.end(),
                   [](auto* a, auto* b) { return a->TabOrder() < b->TabOrder(); });
  for (TWinControl* child : children) child->HandleNeeded();
  // The hints of the whole tree, once its windows are there.
  if (!Parent()) FWindow->HintsNeeded();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  TControl::SetBounds(left, top, width, height);
  if (FWindow) FWindow->SetBounds(BoundsRect());
}

TPoint TWinControl::ClientOrigin() const {
  if (FWindow) return FWindow->ClientOrigin();
  return TControl::ClientOrigin();
}

void TWinControl::VisibleChanged() {
  if (FWindow) FWindow->SetVisible(Visible());
}

void TWinControl::DefaultHandler(TMessage& message) {
  if (FWindow) message.Result = FWindow->DefaultProc(message.Msg, message.WParam, message.LParam);
}

// Children's windows first: destroying this window takes theirs with it.
void TWinControl::DestroyHandle() {
  for (TControl* child : FControls)
    if (auto* windowed = dynamic_cast<TWinControl*>(child)) windowed->DestroyHandle();
  if (FWindow) WindowDestroying();
  FWindow.reset();
}
