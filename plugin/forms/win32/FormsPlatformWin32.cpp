#include "plugin/forms/FormsPlatform.h"

#include "ui/win32/WinApi.h"

#include <shellapi.h>

void* ActiveHostWindow() { return GetActiveWindow(); }

void ShellExecuteOpen(void* owner, const std::string& verb, const std::string& file, int show) {
  ShellExecuteA(static_cast<HWND>(owner), verb.c_str(), file.c_str(), nullptr, nullptr, show);
}
void PrepareFormResources() {}
