#include "plugin/forms/FormsPlatform.h"

#include "ui/Form.h"
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

bool SetCursorShape(bool hand) {
  if (!hand) return false;
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
  return true;
}

void ShellExecuteOpen(void* owner, const std::string& verb, const std::string& file, int show) {
  ShellExecuteA(static_cast<HWND>(owner), verb.c_str(), file.c_str(), nullptr, nullptr, show);
}
void PrepareFormResources() {}
