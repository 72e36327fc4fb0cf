#include "ui/win32/ToolTips.h"

#include "ui/win32/Window.h"

#include <commctrl.h>

namespace {
// The common controls' classes are registered once per process; the
// tooltip class is among the bar classes.
bool CommonControlsReady() {
  static const bool ready = [] {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_BAR_CLASSES};
    return InitCommonControlsEx(&init) != FALSE;
  }();
  return ready;
}

// The size without the trailing reserved field: the common controls of
// version 5, which a host without a manifest gets, refuse the longer one.
TOOLINFOA NewToolInfo() {
  TOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  return info;
}
}  // namespace

TToolTips::TToolTips(HWND owner) {
  if (!CommonControlsReady()) return;
  // Always tips: the form may show while another thread's window is active.
  FHandle = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                            ModuleHandle(), nullptr);
}

TToolTips::~TToolTips() {
  if (FHandle) DestroyWindow(FHandle);
}

void TToolTips::AddTools(TWinControl& root) {
  if (!FHandle) return;
  AddTool(root);
  for (int i = 0; i < root.ControlCount(); ++i) {
    TControl* child = root.Controls(i);
    if (auto* windowed = dynamic_cast<TWinControl*>(child)) AddTools(*windowed);
    else AddTool(*child);
  }
}

void TToolTips::AddTool(TControl& control) {
  if (!control.ShowHint() || control.Hint().empty()) return;
  TOOLINFOA info = NewToolInfo();
  if (auto* windowed = dynamic_cast<TWinControl*>(&control)) {
    if (!windowed->Window()) return;
    const HWND window = windowed->Window()->Handle();
    info.uFlags = TTF_IDISHWND;
    info.hwnd = GetParent(window) ? GetParent(window) : window;
    info.uId = reinterpret_cast<UINT_PTR>(window);
  } else {
    // Painted on its parent: the parent's window hosts the tool.
    if (!control.Parent() || !control.Parent()->Window()) return;
    const TRect r = control.BoundsRect();
    info.hwnd = control.Parent()->Window()->Handle();
    info.uId = FNextId++;
    info.rect = {r.Left, r.Top, r.Right, r.Bottom};
  }
  // The tooltip keeps its own copy of the text.
  info.lpszText = const_cast<char*>(control.Hint().c_str());
  SendMessageA(FHandle, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void TToolTips::Relay(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!FHandle) return;
  MSG message{window, msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
  GetCursorPos(&message.pt);
  SendMessageA(FHandle, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}
