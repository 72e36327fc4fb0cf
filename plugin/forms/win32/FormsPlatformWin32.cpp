#include "plugin/forms/FormsPlatform.h"

#include "ui/Form.h"
#include "ui/Memo.h"
#include "ui/win32/Window.h"
#include "ui/win32/WinApi.h"

#include <shellapi.h>

void* ActiveHostWindow() { return GetActiveWindow(); }

void BringFormToTop(TForm& form) {
  if (TWindow* window = form.Window()) BringWindowToTop(window->Handle());
}

bool IsWindowOf(const TWinControl& control, std::uintptr_t window) {
  return control.Window() && reinterpret_cast<std::uintptr_t>(control.Window()->Handle()) == window;
}

namespace {
constexpr char kStandardProc[] = "vktQuantaro.MemoProc";
constexpr char kWantsReturns[] = "vktQuantaro.MemoReturns";

bool IsKeyDown(LPARAM lParam, WPARAM key) {
  const auto* msg = reinterpret_cast<const MSG*>(lParam);
  return msg && msg->message == WM_KEYDOWN && msg->wParam == key;
}

LRESULT CALLBACK MemoProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto standard = reinterpret_cast<WNDPROC>(GetPropA(window, kStandardProc));
  LRESULT result = CallWindowProcA(standard, window, msg, wParam, lParam);
  if (msg == WM_GETDLGCODE) {
    result &= ~DLGC_WANTTAB;
    const bool returns = GetPropA(window, kWantsReturns) != nullptr;
    if (IsKeyDown(lParam, VK_TAB) || IsKeyDown(lParam, VK_ESCAPE) || (!returns && IsKeyDown(lParam, VK_RETURN)))
      result &= ~DLGC_WANTALLKEYS;
  } else if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(standard));
    RemovePropA(window, kStandardProc);
    RemovePropA(window, kWantsReturns);
  }
  return result;
}
}  // namespace

void LeaveDialogKeysToForm(TMemo& memo) {
  if (!memo.Window()) return;
  const HWND window = memo.Window()->Handle();
  if (GetPropA(window, kStandardProc)) return;
  SetPropA(window, kWantsReturns, memo.WantReturns() ? window : nullptr);
  SetPropA(window, kStandardProc, reinterpret_cast<HANDLE>(GetWindowLongPtrA(window, GWLP_WNDPROC)));
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MemoProc));
}

bool SetCursorShape(bool hand) {
  if (!hand) return false;
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
  return true;
}

void ShellExecuteOpen(void* owner, const std::string& verb, const std::string& file, int show) {
  ShellExecuteA(static_cast<HWND>(owner), verb.c_str(), file.c_str(), nullptr, nullptr, show);
}
void PrepareFormResources() {}
