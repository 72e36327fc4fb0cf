#pragma once
// A control that holds others: in the Windows build a real child window
// whose window text is its caption; natively a plain object whose painting
// and message handling run all the same, so tests paint it on a raster and
// drive it with synthesised messages.

#include <memory>
#include <vector>

#include "ui/Control.h"

class TPlatformWindow;

class TWinControl : public TControl {
public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int index) const { return FControls.at(index); }

  // Adjusted client rectangle: where children are laid out.
  TRect AdjustedClientRect();
  virtual void AdjustClientRect(TRect& rect);

  int TabOrder() const { return FTabOrder; }
  void SetTabOrder(int value);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool value) { FTabStop = value; }
  // Whether a themed parent's background shows through: set as the caption
  // panel's design asks; nothing in the plug-in reads it.
  bool ParentBackground() const { return FParentBackground; }
  void SetParentBackground(bool value) { FParentBackground = value; }

  virtual bool CanFocus() const;
  virtual void SetFocus();
  bool Focused() const;

  // Sends the message to every child control.
  void Broadcast(TMessage& message);
  // The child under client point p (children of children not searched);
  // windowed children only when `windowed` is set.
  TControl* ControlAtPos(TPoint p, bool allowDisabled, bool windowed) const;
  // The deepest control under client point p, this one if no child is.
  TControl* DeepControlAtPos(TPoint p, bool allowDisabled);

  // Paints this control and its children on `canvas`, this control's
  // top-left at the canvas's current origin.
  void PaintTo(TCanvas& canvas);
  // The windowless children, in z-order, on this control's surface.
  void PaintControls(TCanvas& canvas, bool windowedToo);

  void Invalidate() override;
  void Update() override;
  bool Showing() const override;
  void SetBounds(int left, int top, int width, int height) override;
  TPoint ClientOrigin() const override;

  // Natively a top control can have a surface that stands for the screen:
  // Update paints the invalidated tree on it.
  void SetSurface(TCanvas* surface) { FSurface = surface; }

  // The platform's window, none natively or before it was made.
  TPlatformWindow* PlatformWindow() const { return FWindow.get(); }
  // Creates the windows of this control and its children (Windows build).
  void HandleNeeded();
  void DestroyHandle();
  // Window class and styles (Windows build): a standard class name when
  // this control wraps one, else our own class.
  virtual const char* WindowClass() const { return nullptr; }
  virtual unsigned WindowStyle() const;
  virtual unsigned WindowExStyle() const;
  // The window was made, and is about to go: a wrapped standard control
  // hands it its settings, and takes back what only the window holds.
  virtual void WindowCreated() {}
  virtual void WindowDestroying() {}

  void WndProc(TMessage& message) override;

protected:
  void DialogChar(TMessage& message) override;
  void EnabledChanged(TMessage& message) override;
  void TextChanged(TMessage& message) override;
  void FontChanged(TMessage& message) override;
  void ColorChanged() override;
  void VisibleChanged() override;
  void DefaultHandler(TMessage& message) override;
  bool FInvalid = true;

private:
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool RouteMouse(TMessage& message);

  std::vector<TControl*> FControls;
  int FTabOrder = -1;
  bool FTabStop = false;
  bool FParentBackground = true;
  TCanvas* FSurface = nullptr;
  std::unique_ptr<TPlatformWindow> FWindow;

  friend class TControl;
};

// The focused windowed control, none when none is.
TWinControl* FocusedControl();
