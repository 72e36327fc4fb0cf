#include "tests/wine/DialogDriver.h"

#include <algorithm>
#include <cstdio>

#include "host/win32/HostThunks.h"

int gFailures = 0;
bool gQuiet = false;

void Check(bool ok, const std::string& what, std::string detail) {
  if (!ok) ++gFailures;
  if (ok && gQuiet) return;
  std::replace(detail.begin(), detail.end(), '\n', ' ');
  std::printf("%s %s%s%s\n", ok ? "ok    " : "FAIL  ", what.c_str(), detail.empty() ? "" : ": ", detail.c_str());
  std::fflush(stdout);
}

// ---- windows seen from outside ------------------------------------------------

std::string TextOf(HWND window) {
  std::string text(static_cast<size_t>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
  text.resize(static_cast<size_t>(SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

std::string Brief(const std::string& text) {
  if (text.size() <= 40) return text;
  return text.substr(0, 12) + "..." + text.substr(text.size() - 12) + " (" + std::to_string(text.size()) + " chars)";
}

std::string ClassOf(HWND window) {
  char name[128] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

HWND Child(HWND parent, const std::string& key, int skip) {
  for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    const bool match = key[0] == '#' ? _stricmp(ClassOf(w).c_str(), key.c_str() + 1) == 0 : TextOf(w) == key;
    if (match && skip-- == 0) return w;
  }
  return nullptr;
}

HWND Path(HWND form, const std::vector<std::string>& keys) {
  HWND w = form;
  for (const std::string& key : keys)
    if (w) w = Child(w, key);
  return w;
}

HWND WaitForWindow(const char* caption, int milliseconds) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindWindowA(nullptr, caption)) && IsWindowVisible(found); }, milliseconds);
  return found;
}

HWND FocusOf(HWND form) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  WaitFor([&] { return GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info) && info.hwndFocus; }, 2000);
  return info.hwndFocus;
}

void Key(HWND target, UINT key) {
  PostMessageA(target, WM_KEYDOWN, key, 1);
  PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

void Type(HWND edit, const std::string& text) {
  SendMessageA(edit, EM_SETSEL, 0, -1);
  for (char c : text) PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
  WaitFor([&] { return TextOf(edit) == text; }, 2000);
}

void Click(HWND window, int x, int y) {
  PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  PostMessageA(window, WM_LBUTTONDOWN, kLeftButton, MAKELPARAM(x, y));
  PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void Settle(HWND form) {
  SendMessageA(form, WM_NULL, 0, 0);
  Sleep(100);
  SendMessageA(form, WM_NULL, 0, 0);
}

// ---- the host's side --------------------------------------------------------------

TFloatState gHostState{};

namespace {
DWORD WINAPI RunDriver(LPVOID body) {
  (*static_cast<const std::function<void()>*>(body))();
  return 0;
}
}  // namespace

void UnderHost(const std::string& what, const std::function<void()>& call, const std::function<void()>& drive) {
  HANDLE driver = CreateThread(nullptr, 0, RunDriver, const_cast<std::function<void()>*>(&drive), 0, nullptr);
  const TFloatState saved = ReadFloat();
  WriteFloat(kHostControl, kHostMxcsr);
  gHostState = ReadFloat();  // as the processor reads the words back
  ClearCallReport();
  call();
  const TFloatState after = ReadFloat();
  WriteFloat(saved.control, saved.mxcsr);
  WaitForSingleObject(driver, INFINITE);
  CloseHandle(driver);
  const bool same = after.control == gHostState.control && after.mxcsr == gHostState.mxcsr &&
                    after.status == gHostState.status;
  Check(same && CallReport().faults.empty(), what + ": the host's floating-point state comes back",
        CallReport().faults.empty() ? "" : CallReport().faults[0]);
}

void ForceClose(HWND form, const std::string& what) {
  if (!form || !IsWindow(form)) return;
  if (WaitFor([&] { return !IsWindow(form); }, 3000)) return;
  Check(false, what + ": the dialog closed");
  PostMessageA(form, WM_CLOSE, 0, 0);
}

bool ReplaceImport(HMODULE module, const char* dll, FARPROC original, FARPROC replacement) {
  auto* base = reinterpret_cast<std::uint8_t*>(module);
  const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
    if (_stricmp(reinterpret_cast<char*>(base + d->Name), dll) != 0) continue;
    for (auto* t = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); t->u1.Function; ++t) {
      if (t->u1.Function != reinterpret_cast<DWORD_PTR>(original)) continue;
      DWORD protect;
      VirtualProtect(&t->u1.Function, sizeof t->u1.Function, PAGE_READWRITE, &protect);
      t->u1.Function = reinterpret_cast<DWORD_PTR>(replacement);
      VirtualProtect(&t->u1.Function, sizeof t->u1.Function, protect, &protect);
      return true;
    }
  }
  return false;
}

std::vector<std::string> gShellCalls;

HINSTANCE WINAPI FakeShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder, INT show) {
  gShellCalls.push_back(std::string(verb ? verb : "(nil)") + " " + (file ? file : "(nil)") + " " +
                        (parameters ? "params" : "-") + " " + (folder ? "folder" : "-") + " " +
                        std::to_string(show));
  return reinterpret_cast<HINSTANCE>(33);
}

// ---- the editors ------------------------------------------------------------------

const TEditorCase kCalc{1, "vktCalcExpress Properties",
                        {"Formula string to calc or variable", "Variable for result", nullptr}, "CalcExpress info", 520};
const TEditorCase kDiff{2, "vktDiffExpress Properties",
                        {"Argument 1 for symbolic differentiation", "Argument 2 for symbolic differentiation",
                         "Variable for result"},
                        "DiffExpress info", 576};

int ParamCount(const TEditorCase& e) { return e.panels[2] ? 3 : 2; }

HWND EditOf(HWND form, const TEditorCase& e, int i) { return Path(form, {e.panels[i], "#Edit"}); }

HWND MemoOf(HWND form, const TEditorCase& e) {
  return e.action == 1 ? Path(form, {e.panels[0], e.helpBox, "#Edit"}) : Path(form, {e.helpBox, "#Edit"});
}
