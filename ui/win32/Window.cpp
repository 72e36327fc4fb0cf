#include "ui/win32/Window.h"

#include <unordered_map>

#include "runtime/Exception.h"
#include "ui/CustomEdit.h"
#include "ui/Form.h"
#include "ui/WindowStyles.h"
#include "ui/win32/GdiCanvas.h"
#include "ui/win32/ToolTips.h"

static_assert(wsPopup == WS_POPUP && wsCaption == WS_CAPTION && wsSysMenu == WS_SYSMENU &&
              wsClipChildren == WS_CLIPCHILDREN && wsVScroll == WS_VSCROLL && wsTabStop == WS_TABSTOP &&
              dsModalFrame == DS_MODALFRAME);
static_assert(wsExDlgModalFrame == WS_EX_DLGMODALFRAME && wsExClientEdge == WS_EX_CLIENTEDGE &&
              wsExControlParent == WS_EX_CONTROLPARENT);
static_assert(bsPushButton == BS_PUSHBUTTON && bsDefPushButton == BS_DEFPUSHBUTTON);
static_assert(esMultiline == ES_MULTILINE && esAutoVScroll == ES_AUTOVSCROLL && esAutoHScroll == ES_AUTOHSCROLL &&
              esReadOnly == ES_READONLY && esWantReturn == ES_WANTRETURN);
static_assert(ssTextCenter == SS_CENTER && ssTextRight == SS_RIGHT && ssLeftNoWordWrap == SS_LEFTNOWORDWRAP &&
              ssNotify == SS_NOTIFY && ssCenterImage == SS_CENTERIMAGE);
static_assert(MSG_ACTIVATE == WM_ACTIVATE && MSG_CLOSE == WM_CLOSE && MSG_COMMAND == WM_COMMAND &&
              MSG_MOUSEMOVE == WM_MOUSEMOVE && MSG_LBUTTONDOWN == WM_LBUTTONDOWN && MSG_RBUTTONUP == WM_RBUTTONUP &&
              MSG_MOUSELEAVE == WM_MOUSELEAVE && idOk == IDOK && idCancel == IDCANCEL);
static_assert(mkLeft == MK_LBUTTON && mkRight == MK_RBUTTON && mkShift == MK_SHIFT && mkControl == MK_CONTROL);

namespace {
constexpr const char* kOwnClass = "vktWinControl";

std::unordered_map<HWND, TWindow*>& Windows() {
  static std::unordered_map<HWND, TWindow*> windows;
  return windows;
}

HINSTANCE Module() { return static_cast<HINSTANCE>(ModuleHandle()); }

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
    wc.hInstance = Module();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kOwnClass;
    FRegistered = RegisterClassExA(&wc) != 0;
  }
  ~TWindowClass() {
    if (FRegistered) UnregisterClassA(kOwnClass, Module());
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

// A top-level window's outer rectangle for its form's client size, centred
// on the screen when the form asks to be.
RECT TopLevelRect(const TForm& form, DWORD style, DWORD exStyle) {
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

// The standard procedure's answer to which keys the control wants, less
// the dialog keys the control leaves to the dialog: without Tab, Tab and
// Escape go to the dialog (they move the focus and cancel); without Enter,
// Enter does (the default button). A multi-line edit would keep them all.
LRESULT DialogCode(const TCustomEdit& edit, LRESULT code, LPARAM lParam) {
  constexpr LRESULT wantsKey = DLGC_WANTALLKEYS | DLGC_WANTMESSAGE;
  const unsigned wanted = edit.WantedDialogKeys();
  if (!(wanted & dkTab)) {
    code &= ~DLGC_WANTTAB;
    if (IsKeyDown(lParam, VK_TAB) || IsKeyDown(lParam, VK_ESCAPE)) code &= ~wantsKey;
  }
  if (!(wanted & dkReturn) && IsKeyDown(lParam, VK_RETURN)) code &= ~wantsKey;
  return code;
}

// The hints of `control` and the controls under it, once their windows are
// there: a windowed control by its window, a windowless one as its bounds on
// its parent's window.
void AddHints(TToolTips& tips, TControl& control) {
  if (control.ShowHint() && !control.Hint().empty()) {
    if (auto* windowed = dynamic_cast<TWinControl*>(&control)) {
      if (TWindow* window = WindowOf(*windowed)) tips.AddWindowTool(window->Handle(), control.Hint());
    } else if (TWindow* host = control.Parent() ? WindowOf(*control.Parent()) : nullptr) {
      const TRect r = control.BoundsRect();
      tips.AddRectTool(host->Handle(), {r.Left, r.Top, r.Right, r.Bottom}, control.Hint());
    }
  }
  if (auto* windowed = dynamic_cast<TWinControl*>(&control))
    for (int i = 0; i < windowed->ControlCount(); ++i) AddHints(tips, *windowed->Controls(i));
}
}  // namespace

std::unique_ptr<TPlatformWindow> CreatePlatformWindow(TWinControl& control) { return TWindow::Create(control); }

// Every platform window of this build is a TWindow.
TWindow* WindowOf(const TWinControl& control) { return static_cast<TWindow*>(control.PlatformWindow()); }

std::unique_ptr<TWindow> TWindow::Create(TWinControl& control) {
  std::unique_ptr<TWindow> window(new TWindow(control));
  const char* standard = control.WindowClass();
  if (!standard) OwnClass.Need(&TWindow::OwnProc);
  const char* className = standard ? standard : kOwnClass;
  window->FForm = control.Parent() ? nullptr : dynamic_cast<TForm*>(&control);
  window->FEdit = dynamic_cast<TCustomEdit*>(&control);
  HWND parent = nullptr;
  DWORD style, exStyle = control.WindowExStyle();
  RECT r;
  if (window->FForm) {
    parent = static_cast<HWND>(window->FForm->OwnerWindow());
    style = control.WindowStyle();
    r = TopLevelRect(*window->FForm, style, exStyle);
  } else {
    if (!control.Parent() || !WindowOf(*control.Parent())) return nullptr;
    parent = WindowOf(*control.Parent())->Handle();
    style = ChildStyle(control, !standard);
    r = {control.Left(), control.Top(), control.Left() + control.Width(), control.Top() + control.Height()};
  }
  GCreating = window.get();
  // The text comes after creation: a window name longer than 32,767
  // characters would arrive cut or make the creation fail.
  window->FHandle = CreateWindowExA(exStyle, className, "", style, r.left, r.top,
                                    r.right - r.left, r.bottom - r.top, parent, nullptr, Module(), nullptr);
  GCreating = nullptr;
  if (!window->FHandle) return nullptr;
  Windows()[window->FHandle] = window.get();
  if (standard) {
    window->FStandardProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window->FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWindow::StandardProc)));
  }
  window->SetFont(control.Font());
  if (!window->SetText(control.Caption())) throw Exception(kTextCut);
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
// A window may keep less than it is given: a single-line edit stops at a
// line break, and one that cannot have the memory refuses the text. The
// text counts as set only when it reads back whole; if it does not, the
// window gets its old text back, so that it never shows a cut one.
bool TWindow::SetText(const std::string& text) {
  const std::string old = Text();
  SetWindowTextA(FHandle, text.c_str());
  if (Text() == text) return true;
  SetWindowTextA(FHandle, old.c_str());
  return false;
}

std::string TWindow::Text() const {
  const int length = GetWindowTextLengthA(FHandle);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(FHandle, text.data(), length + 1)));
  return text;
}

void TWindow::SetEnabled(bool enabled) { EnableWindow(FHandle, enabled); }
void TWindow::SetVisible(bool visible) { ShowWindow(FHandle, visible ? SW_SHOWNA : SW_HIDE); }
void TWindow::Focus() { SetFocus(FHandle); }
void TWindow::BringToTop() { BringWindowToTop(FHandle); }

void TWindow::SetBounds(const TRect& bounds) {
  if (FForm) {
    const RECT r = TopLevelRect(*FForm, GetWindowLongA(FHandle, GWL_STYLE), GetWindowLongA(FHandle, GWL_EXSTYLE));
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
  AddHints(*FToolTips, FControl);
}

// The tooltip window sees the mouse through the top window of the tree.
void TWindow::RelayToHints(UINT msg, WPARAM wParam, LPARAM lParam) {
  TControl* top = &FControl;
  while (top->Parent()) top = top->Parent();
  TWindow* window = WindowOf(static_cast<TWinControl&>(*top));
  if (window && window->FToolTips) window->FToolTips->Relay(FHandle, msg, wParam, lParam);
}

std::intptr_t TWindow::DefaultProc(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
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
      if (FEdit) return DialogCode(*FEdit, DefaultProc(msg, wParam, lParam), lParam);
      break;
    case WM_SETCURSOR:
      if (SetControlCursor(wParam)) return TRUE;
      break;
    case WM_MOUSEMOVE:
      FControl.Perform(msg, wParam, lParam);
      TrackLeave();
      NoteMouseControl(PlatformControlAtCursor(FControl, true));
      break;
    case WM_MOUSELEAVE:
      FTrackingLeave = false;
      NoteMouseControl(PlatformControlAtCursor(FControl, true));
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
        NoteMouseControl(PlatformControlAtCursor(FControl, true));
      }
      return result;
    }
    case WM_MOUSELEAVE:
      FTrackingLeave = false;
      NoteMouseControl(PlatformControlAtCursor(FControl, true));
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != FHandle && MouseCapture()) ForgetMouseCapture();
      return 0;
    case WM_COMMAND:
      if (lParam && ChildCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam))) return 0;
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      return ChildColours(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
    case WM_SETCURSOR:
      if (SetControlCursor(wParam)) return TRUE;
      break;
    case WM_SYSCOLORCHANGE: {
      TMessage notice{CM_SYSCOLORCHANGE, 0, 0, 0};
      FControl.Broadcast(notice);
      Invalidate();
      break;
    }
  }
  // While CreateWindowEx runs the control does not know its window yet.
  if (FControl.PlatformWindow() != this) return DefaultProc(msg, wParam, lParam);
  TMessage message{msg, wParam, lParam, 0};
  FControl.WndProc(message);
  return message.Result;
}

// The control under the pointer names its cursor; with the default one the
// platform's handling goes on (the parents are asked, then the class
// cursor). The question reaches the window under the pointer first, with
// its own handle.
bool TWindow::SetControlCursor(WPARAM window) {
  if (reinterpret_cast<HWND>(window) != FHandle) return false;
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(FHandle, &p);
  TControl* child = FControl.ControlAtPos({p.x, p.y}, true, false);
  switch ((child ? child : &FControl)->Cursor()) {
    case TCursor::Default: return false;
    case TCursor::HandPoint: SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND))); return true;
  }
  return false;
}

void TWindow::TrackLeave() {
  if (FTrackingLeave) return;
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, FHandle, 0};
  FTrackingLeave = TrackMouseEvent(&track) != FALSE;
}

// A click of a child button or static (STN_CLICKED is BN_CLICKED); an
// edit's changes stay in its window until its text is asked for.
bool TWindow::ChildCommand(HWND child, unsigned code) {
  const auto found = Windows().find(child);
  if (found == Windows().end() || code != BN_CLICKED) return false;
  found->second->FControl.Click();
  return true;
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
