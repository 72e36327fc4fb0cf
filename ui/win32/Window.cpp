#include "ui/win32/Window.h"

#include <unordered_map>

#include "ui/Button.h"
#include "ui/Form.h"
#include "ui/Memo.h"
#include "ui/win32/GdiCanvas.h"
#include "ui/win32/ToolTips.h"

namespace {
constexpr const char* kOwnClass = "vktWinControl";

std::unordered_map<HWND, TWindow*>& Windows() {
  static std::unordered_map<HWND, TWindow*> windows;
  return windows;
}

// Our window class, registered with this module's handle on first use and
// unregistered when the module unloads.
class TWindowClass {
public:
  void Need(WNDPROC proc) {
    if (FRegistered) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = ModuleHandle();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kOwnClass;
    FRegistered = RegisterClassExA(&wc) != 0;
  }
  ~TWindowClass() {
    if (FRegistered) UnregisterClassA(kOwnClass, ModuleHandle());
  }

private:
  bool FRegistered = false;
} OwnClass;

// Creating a window sends messages before CreateWindowEx returns: the
// window under construction is handed to the procedure this way.
TWindow* GCreating = nullptr;

unsigned ChildStyle(const TWinControl& control, bool own) {
  unsigned style = WS_CHILD | WS_CLIPSIBLINGS | control.WindowStyle();
  if (own) style |= WS_CLIPCHILDREN;
  if (control.Visible()) style |= WS_VISIBLE;
  if (!control.Enabled()) style |= WS_DISABLED;
  return style;
}

// The form's outer rectangle for its client size, centred on the screen
// when it asks to be.
RECT FormRect(const TForm& form, DWORD style, DWORD exStyle) {
  RECT r{0, 0, form.Width(), form.Height()};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  int left = form.Left() + r.left, top = form.Top() + r.top;
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (form.Position() == TFormPosition::ScreenCenter) {
    left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  }
  return {left, top, left + width, top + height};
}

// The messages a tooltip window watches to show and hide its tips.
bool IsMouseMessage(UINT msg) {
  return msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP || msg == WM_RBUTTONDOWN ||
         msg == WM_RBUTTONUP || msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP;
}

bool IsKeyDown(LPARAM lParam, WPARAM key) {
  const auto* msg = reinterpret_cast<const MSG*>(lParam);
  return msg && msg->message == WM_KEYDOWN && msg->wParam == key;
}

// A multi-line edit asks for every key, Tab and Escape included. Unless the
// memo wants tabs, Tab and Escape go to the dialog (they move the focus and
// cancel), and so does Enter unless it wants returns (the default button).
LRESULT MemoDialogCode(const TMemo& memo, LRESULT code, LPARAM lParam) {
  constexpr LRESULT wantsKey = DLGC_WANTALLKEYS | DLGC_WANTMESSAGE;
  if (!memo.WantTabs()) {
    code &= ~DLGC_WANTTAB;
    if (IsKeyDown(lParam, VK_TAB) || IsKeyDown(lParam, VK_ESCAPE)) code &= ~wantsKey;
  }
  if (!memo.WantReturns() && IsKeyDown(lParam, VK_RETURN)) code &= ~wantsKey;
  return code;
}
}  // namespace

HINSTANCE ModuleHandle() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ModuleHandle), &module);
  return module;
}

std::unique_ptr<TWindow> TWindow::Create(TWinControl& control) {
  std::unique_ptr<TWindow> window(new TWindow(control));
  const char* standard = control.WindowClass();
  if (!standard) OwnClass.Need(&TWindow::OwnProc);
  const char* className = standard ? standard : kOwnClass;
  HWND parent = nullptr;
  DWORD style, exStyle = control.WindowExStyle();
  RECT r;
  if (auto* form = dynamic_cast<TForm*>(&control); form && !control.Parent()) {
    parent = static_cast<HWND>(form->OwnerWindow());
    style = control.WindowStyle();
    r = FormRect(*form, style, exStyle);
  } else {
    if (!control.Parent() || !control.Parent()->Window()) return nullptr;
    parent = control.Parent()->Window()->Handle();
    style = ChildStyle(control, !standard);
    r = {control.Left(), control.Top(), control.Left() + control.Width(), control.Top() + control.Height()};
  }
  // The system reads a window name whose first byte is 0xFF as a resource
  // number (that byte and the 16 bits after it), so a text starting with
  // "\xFF" would show cut to three bytes: such a text is set afterwards.
  const std::string& caption = control.Caption();
  const bool afterwards = !caption.empty() && static_cast<unsigned char>(caption[0]) == 0xFF;
  GCreating = window.get();
  window->FHandle = CreateWindowExA(exStyle, className, afterwards ? "" : caption.c_str(), style, r.left, r.top,
                                    r.right - r.left, r.bottom - r.top, parent, nullptr, ModuleHandle(), nullptr);
  GCreating = nullptr;
  if (!window->FHandle) return nullptr;
  Windows()[window->FHandle] = window.get();
  if (standard) {
    window->FStandardProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window->FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWindow::StandardProc)));
  }
  window->SetFont(control.Font());
  if (afterwards) window->SetText(caption);
  return window;
}

TWindow::TWindow(TWinControl& control) : FControl(control) {}

TWindow::~TWindow() {
  // The tooltip window is owned by this one: it goes first, by its handle.
  FToolTips.reset();
  if (!FHandle) return;
  if (FStandardProc) SetWindowLongPtrA(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FStandardProc));
  Windows().erase(FHandle);
  DestroyWindow(FHandle);
}

TWinControl* TWindow::ControlOf(HWND window) {
  const auto found = Windows().find(window);
  return found == Windows().end() ? nullptr : &found->second->FControl;
}

void TWindow::Invalidate() { InvalidateRect(FHandle, nullptr, FALSE); }
void TWindow::Update() { UpdateWindow(FHandle); }
void TWindow::SetText(const std::string& text) { SetWindowTextA(FHandle, text.c_str()); }
void TWindow::SetEnabled(bool enabled) { EnableWindow(FHandle, enabled); }
void TWindow::SetVisible(bool visible) { ShowWindow(FHandle, visible ? SW_SHOWNA : SW_HIDE); }
void TWindow::Focus() { SetFocus(FHandle); }

void TWindow::SetBounds(const TRect& bounds) {
  if (auto* form = dynamic_cast<TForm*>(&FControl); form && !FControl.Parent()) {
    const RECT r = FormRect(*form, GetWindowLongA(FHandle, GWL_STYLE), GetWindowLongA(FHandle, GWL_EXSTYLE));
    MoveWindow(FHandle, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  } else {
    MoveWindow(FHandle, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(), TRUE);
  }
}

void TWindow::SetFont(const TFont& font) {
  SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font)), TRUE);
}

TPoint TWindow::ClientOrigin() const {
  POINT p{0, 0};
  ClientToScreen(FHandle, &p);
  return {p.x, p.y};
}

void TWindow::HintsNeeded() {
  if (FToolTips || !FHandle) return;
  FToolTips = std::make_unique<TToolTips>(FHandle);
  FToolTips->AddTools(FControl);
}

// The tooltip window sees the mouse through the top window of the tree.
void TWindow::RelayToHints(UINT msg, WPARAM wParam, LPARAM lParam) {
  TControl* top = &FControl;
  while (top->Parent()) top = top->Parent();
  TWindow* window = static_cast<TWinControl*>(top)->Window();
  if (window && window->FToolTips) window->FToolTips->Relay(FHandle, msg, wParam, lParam);
}

LRESULT TWindow::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (FStandardProc) return CallWindowProcA(FStandardProc, FHandle, msg, wParam, lParam);
  return DefWindowProcA(FHandle, msg, wParam, lParam);
}

LRESULT CALLBACK TWindow::OwnProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWindow* self = nullptr;
  if (const auto found = Windows().find(window); found != Windows().end()) self = found->second;
  else if (GCreating && !GCreating->FHandle) (self = GCreating)->FHandle = window;
  if (!self) return DefWindowProcA(window, msg, wParam, lParam);
  // No exception may unwind through the platform's dispatching.
  try {
    return self->Dispatch(msg, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

LRESULT CALLBACK TWindow::StandardProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto found = Windows().find(window);
  if (found == Windows().end()) return DefWindowProcA(window, msg, wParam, lParam);
  try {
    return found->second->StandardDispatch(msg, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

// Standard controls paint and handle input themselves; the framework sees
// their mouse moves (events, hot tracking) and their text.
LRESULT TWindow::StandardDispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (IsMouseMessage(msg)) RelayToHints(msg, wParam, lParam);
  switch (msg) {
    case WM_GETDLGCODE:
      if (const auto* memo = dynamic_cast<const TMemo*>(&FControl))
        return MemoDialogCode(*memo, DefaultProc(msg, wParam, lParam), lParam);
      break;
    case WM_MOUSEMOVE:
      FControl.Perform(msg, wParam, lParam);
      TrackLeave();
      NoteMouseControl(WindowControlAtCursor(true));
      break;
    case WM_MOUSELEAVE:
      FTrackingLeave = false;
      NoteMouseControl(WindowControlAtCursor(true));
      break;
  }
  return DefaultProc(msg, wParam, lParam);
}

LRESULT TWindow::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (IsMouseMessage(msg)) RelayToHints(msg, wParam, lParam);
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(FHandle, &client);
      PaintInto(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: {
      const LRESULT result = FControl.Perform(msg, wParam, lParam);
      if (msg == WM_MOUSEMOVE) {
        TrackLeave();
        NoteMouseControl(WindowControlAtCursor(true));
      }
      return result;
    }
    case WM_MOUSELEAVE:
      FTrackingLeave = false;
      NoteMouseControl(WindowControlAtCursor(true));
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != FHandle && MouseCapture()) ForgetMouseCapture();
      return 0;
    case WM_COMMAND:
      if (lParam && ChildCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam))) return 0;
      if (!lParam && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        if (auto* form = dynamic_cast<TForm*>(&FControl)) {
          TButton* button = LOWORD(wParam) == IDOK ? form->DefaultButton() : form->CancelButton();
          if (button && button->Enabled()) button->Click();
          else if (LOWORD(wParam) == IDCANCEL) form->SetModalResult(mrCancel);
          return 0;
        }
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      return ChildColours(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
    case WM_CLOSE:
      if (auto* form = dynamic_cast<TForm*>(&FControl)) {
        form->SetModalResult(mrCancel);
        return 0;
      }
      break;
    case WM_SYSCOLORCHANGE: {
      TMessage notice{CM_SYSCOLORCHANGE, 0, 0, 0};
      FControl.Broadcast(notice);
      Invalidate();
      break;
    }
  }
  // While CreateWindowEx runs the control does not know its window yet.
  if (FControl.Window() != this) return DefaultProc(msg, wParam, lParam);
  TMessage message{msg, wParam, lParam, 0};
  FControl.WndProc(message);
  return message.Result;
}

void TWindow::TrackLeave() {
  if (FTrackingLeave) return;
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, FHandle, 0};
  FTrackingLeave = TrackMouseEvent(&track) != FALSE;
}

bool TWindow::ChildCommand(HWND child, unsigned code) {
  TWinControl* control = ControlOf(child);
  if (!control) return false;
  switch (code) {
    case BN_CLICKED:  // also STN_CLICKED
      control->Click();
      return true;
    case EN_CHANGE: {
      const int length = GetWindowTextLengthA(child);
      std::string text(static_cast<size_t>(length) + 1, '\0');
      GetWindowTextA(child, text.data(), length + 1);
      text.resize(static_cast<size_t>(length));
      control->StoreCaption(text);
      return true;
    }
  }
  return false;
}

LRESULT TWindow::ChildColours(HWND child, HDC dc) {
  const auto found = Windows().find(child);
  if (found == Windows().end()) return DefaultProc(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child));
  TWindow& window = *found->second;
  SetTextColor(dc, ColorToRGB(window.FControl.Font().Color));
  SetBkColor(dc, ColorToRGB(window.FControl.Color()));
  return reinterpret_cast<LRESULT>(window.BackgroundBrush());
}

HBRUSH TWindow::BackgroundBrush() {
  const TColor color = ColorToRGB(FControl.Color());
  if (!FBackground || color != FBackgroundColor) {
    FBackground.Reset(CreateSolidBrush(color));
    FBackgroundColor = color;
  }
  return FBackground.Get();
}

// The control and its windowless children are painted into a memory bitmap
// and copied in once, so nothing flickers.
void TWindow::PaintInto(HDC dc, const RECT& area) {
  RECT client;
  GetClientRect(FHandle, &client);
  const TMemoryDC memory(dc);
  const TGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
  {
    const TSelection useBitmap(memory.Get(), bitmap.Get());
    {
      TGdiCanvas canvas(memory.Get());
      canvas.SetOriginAndClip({0, 0}, {0, 0, client.right, client.bottom});
      canvas.Font = FControl.Font();
      {
        const TCanvasState saved(canvas);
        FControl.Paint(canvas);
      }
      FControl.PaintControls(canvas, false);
    }
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory.Get(), area.left,
           area.top, SRCCOPY);
  }
}

void TWindow::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(FHandle, &ps);
  PaintInto(dc, ps.rcPaint);
  EndPaint(FHandle, &ps);
}

void CaptureWindowMouse(TControl* control) {
  if (!control) {
    if (GetCapture()) ReleaseCapture();
    return;
  }
  TControl* holder = control;
  while (holder && !dynamic_cast<TWinControl*>(holder)) holder = holder->Parent();
  auto* windowed = static_cast<TWinControl*>(holder);
  if (windowed && windowed->Window()) SetCapture(windowed->Window()->Handle());
}

TPoint WindowCursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

TControl* WindowControlAtCursor(bool allowDisabled) {
  POINT p{};
  GetCursorPos(&p);
  TWinControl* control = TWindow::ControlOf(WindowFromPoint(p));
  if (!control) return nullptr;
  const TPoint client = control->ScreenToClient({p.x, p.y});
  TControl* child = control->ControlAtPos(client, allowDisabled, false);
  return child ? child : control;
}

TWinControl* WindowFocusedControl() { return TWindow::ControlOf(GetFocus()); }
