// The framework's headers come before the platform's (ui/win32/WinApi.h).
#include "ui/Platform.h"
#include "ui/win32/ToolTips.h"

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

// The tooltip keeps its own copy of the text.
void AddTool(HWND tips, TOOLINFOA& info, const std::string& text) {
  info.lpszText = const_cast<char*>(text.c_str());
  SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}
}  // namespace

TToolTips::TToolTips(HWND owner) {
  if (!CommonControlsReady()) return;
  // Always tips: the form may show while another thread's window is active.
  FHandle = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                            static_cast<HINSTANCE>(ModuleHandle()), nullptr);
}

TToolTips::~TToolTips() {
  if (FHandle) DestroyWindow(FHandle);
}

void TToolTips::AddWindowTool(HWND window, const std::string& text) {
  if (!FHandle) return;
  TOOLINFOA info = NewToolInfo();
  info.uFlags = TTF_IDISHWND;
  info.hwnd = GetParent(window) ? GetParent(window) : window;
  info.uId = reinterpret_cast<UINT_PTR>(window);
  AddTool(FHandle, info, text);
}

void TToolTips::AddRectTool(HWND host, const RECT& r, const std::string& text) {
  if (!FHandle) return;
  TOOLINFOA info = NewToolInfo();
  info.hwnd = host;
  info.uId = FNextId++;
  info.rect = r;
  AddTool(FHandle, info, text);
}

void TToolTips::Relay(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!FHandle) return;
  MSG message{window, msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
  GetCursorPos(&message.pt);
  SendMessageA(FHandle, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}
