#include "ui/Platform.h"

#include "ui/Bitmap.h"
#include "ui/Form.h"
#include "ui/RasterCanvas.h"
#include "ui/WinControl.h"

// The native build: no screen, no windows.

namespace {
TPoint GCursor;
TWinControl* GFocused = nullptr;
}  // namespace

bool PlatformHasWindows() { return false; }
std::unique_ptr<TPlatformWindow> CreatePlatformWindow(TWinControl&) { return nullptr; }

void PlatformCaptureMouse(TControl*) {}
TPoint PlatformCursorPos() { return GCursor; }
void PlatformNoteCursorPos(TPoint p) { GCursor = p; }

TControl* PlatformControlAtCursor(const TControl& anyOfWindow, bool allowDisabled) {
  const TControl* top = &anyOfWindow;
  while (top->Parent()) top = top->Parent();
  auto* root = dynamic_cast<TWinControl*>(const_cast<TControl*>(top));
  if (!root) return nullptr;
  const TPoint p = root->ScreenToClient(PlatformCursorPos());
  if (!TRect{0, 0, root->Width(), root->Height()}.Contains(p)) return nullptr;
  return root->DeepControlAtPos(p, allowDisabled);
}

void PlatformFocus(TWinControl& control) { GFocused = &control; }
TWinControl* PlatformFocusedControl() { return GFocused; }

void PlatformForgetFocus(const TWinControl& control) {
  if (GFocused == &control) GFocused = nullptr;
}

std::unique_ptr<TCanvas> CreateMeasureCanvas() { return std::make_unique<TRasterCanvas>(1, 1, clWhite); }
void* ModuleHandle() { return nullptr; }

// No module resources: only what was registered.
std::span<const std::uint8_t> FindBitmapResource(std::string_view name) { return FindRegisteredBitmapResource(name); }

// A form is never shown: ShowModal answers cancel at once.
TModalResult TForm::RunModal() { return mrCancel; }
void TForm::ShowWindowed() {}
