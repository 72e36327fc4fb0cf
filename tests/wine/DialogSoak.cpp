// A soak of the plug-in's dialogs under Wine: the calc editor, the diff
// editor and the About box opened in turn, CYCLES times in all, each
// worked by seeded random input from a second thread (pointer moves,
// presses and drags, keys, typed and pasted texts, Insert Variable against
// a host that picks, declines or faults) and ended by OK, Cancel, Escape,
// Enter or the close box, on the host's thread under its control word.
//
// The plug-in's imports of the calls that make and free host blocks, GDI
// objects, device contexts and windows lead through this program, which
// keeps what the plug-in holds. After each cycle: the call returned with
// ESP and the float state as before, the dialog's windows are gone, no
// host block is outstanding or was freed twice, and OK wrote back what the
// edits held. Over the run: the GDI objects and DCs held, the C runtime
// heap and the process's committed memory do not grow after the warm-up.
//
//   dialog_soak_wine PLUGIN [SEED [CYCLES]]
//
// Prints each failure and the run's figures; exits 1 when any check failed.

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "host/PlugInLoader.h"
#include "host/ZxHost.h"
#include "host/win32/HostThunks.h"
#include "tests/wine/DialogDriver.h"

#include <malloc.h>
#include <psapi.h>

namespace {

// ---- what the plug-in holds, seen through its imports ---------------------------

// The plug-in's calls come on the dialog's thread, the driver's on its own.
SRWLOCK gLock = SRWLOCK_INIT;
struct TLocked {
  TLocked() { AcquireSRWLockExclusive(&gLock); }
  ~TLocked() { ReleaseSRWLockExclusive(&gLock); }
  TLocked(const TLocked&) = delete;
  TLocked& operator=(const TLocked&) = delete;
};
std::map<const void*, std::pair<DWORD, int>> gGdi;  // handle: object type, times held
std::set<const void*> gBlocks;                      // host blocks alive
std::vector<HWND> gMade;                            // windows made during the current call
std::vector<std::string> gBadReleases;

void Hold(const void* handle) {
  if (!handle) return;
  const TLocked lock;
  auto& entry = gGdi[handle];
  entry.first = GetObjectType(const_cast<void*>(handle));
  ++entry.second;
}

void Release(const void* handle, BOOL released, const char* call) {
  const TLocked lock;
  if (!released) gBadReleases.push_back(std::string(call) + " failed");
  const auto found = gGdi.find(handle);
  if (found != gGdi.end() && --found->second.second == 0) gGdi.erase(found);
}

struct THeld {
  int objects = 0, dcs = 0;
  std::map<DWORD, int> byType;
};

THeld Held() {
  const TLocked lock;
  THeld held;
  for (const auto& [handle, entry] : gGdi) {
    (entry.first == OBJ_DC || entry.first == OBJ_MEMDC ? held.dcs : held.objects) += entry.second;
    held.byType[entry.first] += entry.second;
  }
  return held;
}

void TakeBlock(const void* block) {
  const TLocked lock;
  if (block) gBlocks.insert(block);
}

// False when the block is not alive: freed twice, or never a host block.
bool GiveBlock(const void* block, const char* who) {
  const TLocked lock;
  if (!block || gBlocks.erase(block)) return true;
  gBadReleases.push_back(std::string(who) + " freed a block that was not alive");
  return false;
}

// A make call of the plug-in, followed: what it returns is held.
template <auto Real>
struct TMade;
template <typename R, typename... A, R(WINAPI* Real)(A...)>
struct TMade<Real> {
  static R WINAPI Call(A... args) {
    const R handle = Real(args...);
    Hold(handle);
    return handle;
  }
};

BOOL WINAPI SoakDeleteObject(HGDIOBJ object) {
  const BOOL done = DeleteObject(object);
  Release(object, done, "DeleteObject");
  return done;
}

BOOL WINAPI SoakDeleteDC(HDC dc) {
  const BOOL done = DeleteDC(dc);
  Release(dc, done, "DeleteDC");
  return done;
}

int WINAPI SoakReleaseDC(HWND window, HDC dc) {
  const int done = ReleaseDC(window, dc);
  Release(dc, done, "ReleaseDC");
  return done;
}

HGLOBAL WINAPI SoakGlobalAlloc(UINT flags, SIZE_T size) {
  const HGLOBAL block = GlobalAlloc(flags, size);
  TakeBlock(block);
  return block;
}

// A block freed twice is reported, not handed to the system again.
HGLOBAL WINAPI SoakGlobalFree(HGLOBAL block) {
  return GiveBlock(block, "the plug-in") ? GlobalFree(block) : block;
}

HWND WINAPI SoakCreateWindow(DWORD exStyle, LPCSTR className, LPCSTR text, DWORD style, int x, int y, int width,
                             int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
  const HWND window =
      CreateWindowExA(exStyle, className, text, style, x, y, width, height, parent, menu, instance, parameter);
  const TLocked lock;
  if (window) gMade.push_back(window);
  return window;
}

struct TImport {
  const char* dll;
  const char* name;
  FARPROC replacement;
};

const TImport kFollowed[] = {
    {"kernel32.dll", "GlobalAlloc", AsProc(&SoakGlobalAlloc)},
    {"kernel32.dll", "GlobalFree", AsProc(&SoakGlobalFree)},
    {"gdi32.dll", "CreateCompatibleBitmap", AsProc(&TMade<&CreateCompatibleBitmap>::Call)},
    {"gdi32.dll", "CreateCompatibleDC", AsProc(&TMade<&CreateCompatibleDC>::Call)},
    {"gdi32.dll", "CreateDIBPatternBrushPt", AsProc(&TMade<&CreateDIBPatternBrushPt>::Call)},
    {"gdi32.dll", "CreateFontA", AsProc(&TMade<&CreateFontA>::Call)},
    {"gdi32.dll", "CreatePen", AsProc(&TMade<&CreatePen>::Call)},
    {"gdi32.dll", "CreateRectRgnIndirect", AsProc(&TMade<&CreateRectRgnIndirect>::Call)},
    {"gdi32.dll", "CreateSolidBrush", AsProc(&TMade<&CreateSolidBrush>::Call)},
    {"gdi32.dll", "DeleteObject", AsProc(&SoakDeleteObject)},
    {"gdi32.dll", "DeleteDC", AsProc(&SoakDeleteDC)},
    {"user32.dll", "GetDC", AsProc(&TMade<&GetDC>::Call)},
    {"user32.dll", "ReleaseDC", AsProc(&SoakReleaseDC)},
    {"user32.dll", "CreateWindowExA", AsProc(&SoakCreateWindow)},
    {"shell32.dll", "ShellExecuteA", AsProc(&FakeShellExecute)},
};

// The names the module imports from `dll`.
std::vector<std::string> ImportedNames(HMODULE module, const char* dll) {
  auto* base = reinterpret_cast<std::uint8_t*>(module);
  const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  std::vector<std::string> names;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
    if (_stricmp(reinterpret_cast<char*>(base + d->Name), dll) != 0) continue;
    for (auto* t = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk); t->u1.AddressOfData; ++t)
      if (!IMAGE_SNAP_BY_ORDINAL(t->u1.Ordinal))
        names.push_back(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + t->u1.AddressOfData)->Name);
  }
  return names;
}

// Every import that makes a GDI object, a DC or a window must be followed,
// or what it makes would go uncounted.
void FollowImports(HMODULE plugin) {
  std::string missing;
  for (const TImport& i : kFollowed)
    if (!ReplaceImport(plugin, i.dll, GetProcAddress(LoadLibraryA(i.dll), i.name), i.replacement))
      missing += std::string(i.name) + " not imported; ";
  auto followed = [](const std::string& name) {
    for (const TImport& i : kFollowed)
      if (name == i.name) return true;
    return false;
  };
  for (const char* dll : {"gdi32.dll", "user32.dll"})
    for (const std::string& name : ImportedNames(plugin, dll)) {
      const bool makes = name.rfind("Create", 0) == 0 || name.rfind("ExtCreate", 0) == 0 ||
                         name.rfind("GetDC", 0) == 0 || name == "GetWindowDC";
      if (makes && !followed(name)) missing += name + " not followed; ";
    }
  Check(missing.empty(), "soak: the plug-in's make, free and shell imports lead through the soak", missing);
}

// ---- the host's side --------------------------------------------------------------

char* NewBlock(const std::optional<std::string>& text) {
  char* block = text ? NewHostString(*text) : nullptr;
  TakeBlock(block);
  return block;
}

void FreeBlock(char*& block) {
  if (GiveBlock(block, "the host")) DisposeHostString(block);
  block = nullptr;
}

enum class TPicker { Picks, Declines, Raises };
std::atomic<TPicker> gPicker{TPicker::Picks};
std::string gPicked;
std::vector<std::uint16_t> gAccessControl;  // the control word each Insert Variable call ran under

// What the run did, for its report.
struct TTally {
  int inputs = 0, picker[3] = {}, endings[5] = {}, shellCalls = 0, oks = 0, edited = 0, outstanding = 0;
} gTally;

bool Access(std::int32_t, char** variable) {
  gAccessControl.push_back(ReadFloat().control);
  const TPicker picker = gPicker;
  ++gTally.picker[static_cast<int>(picker)];
  if (picker == TPicker::Raises) {
    int* volatile nowhere = nullptr;
    *nowhere = 1;  // the host's own fault, inside its routine
  }
  if (picker == TPicker::Declines) return false;
  std::string picked;
  {
    const TLocked lock;
    picked = gPicked;
  }
  FreeBlock(*variable);
  *variable = NewBlock(picked);
  return true;
}

// ---- random input -----------------------------------------------------------------

std::mt19937 gRandom;

int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(gRandom); }

// Texts of formula pieces and single characters of the whole 8-bit range.
std::string RandomText(int longest) {
  static const char* const kPieces[] = {"sin(x)^2", "2,5*", "x", "[picked]", "ln(", ")", "/0", "\x80", "\xFF", " ", "1E308"};
  std::string text;
  for (int n = Pick(longest + 1); static_cast<int>(text.size()) < n;)
    if (text.empty() || Pick(3) == 0) text += kPieces[Pick(std::size(kPieces))];
    else if (const char c = static_cast<char>(0x20 + Pick(0xE0)); c != '\x7F') text += c;
  return text.substr(0, static_cast<size_t>(longest));
}

std::string LongOrShort() { return Pick(20) == 0 ? RandomText(2000) : RandomText(30); }

// The posted input is handled once a message posted after it reaches this
// window on the dialog's thread (the plug-in's message loop dispatches it).
HWND gProbe = nullptr;
HANDLE gProbed = CreateEventA(nullptr, FALSE, FALSE, nullptr);
WPARAM gPosted = 0;

LRESULT CALLBACK ProbeProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_APP && wParam == gPosted) SetEvent(gProbed);
  return DefWindowProcA(window, msg, wParam, lParam);
}

bool Handled() {
  ResetEvent(gProbed);
  PostMessageA(gProbe, WM_APP, ++gPosted, 0);
  return WaitForSingleObject(gProbed, 5000) == WAIT_OBJECT_0;
}

// The innermost visible window under a point of the screen.
HWND WindowAt(HWND form, POINT screen) {
  for (HWND w = form;;) {
    POINT p = screen;
    ScreenToClient(w, &p);
    const HWND child = ChildWindowFromPointEx(w, p, CWP_SKIPINVISIBLE);
    if (!child || child == w) return w;
    w = child;
  }
}

POINT RandomPoint(HWND form) {
  RECT r;
  GetClientRect(form, &r);
  POINT p{Pick(r.right), Pick(r.bottom)};
  ClientToScreen(form, &p);
  return p;
}

// The pointer put there and the message posted to `target` in its own
// coordinates, as the system would deliver it.
void Mouse(HWND target, UINT msg, WPARAM buttons, POINT screen) {
  SetCursorPos(screen.x, screen.y);
  ScreenToClient(target, &screen);
  PostMessageA(target, msg, buttons, MAKELPARAM(screen.x, screen.y));
}

void Press(HWND target, POINT at, POINT release) {
  Mouse(target, WM_MOUSEMOVE, 0, at);
  Mouse(target, WM_LBUTTONDOWN, kLeftButton, at);
  Mouse(target, WM_MOUSEMOVE, kLeftButton, release);
  Mouse(target, WM_LBUTTONUP, 0, release);
}

void ChoosePicker() {
  gPicker = static_cast<TPicker>(Pick(3));
  const TLocked lock;
  gPicked = LongOrShort();
}

void Paste(HWND edit, const std::string& text) {
  if (!OpenClipboard(gProbe)) return;
  EmptyClipboard();
  const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  if (HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, n * sizeof(wchar_t))) {
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, static_cast<wchar_t*>(GlobalLock(data)), n);
    GlobalUnlock(data);
    if (!SetClipboardData(CF_UNICODETEXT, data)) GlobalFree(data);
  }
  CloseClipboard();
  PostMessageA(edit, WM_PASTE, 0, 0);
}

// Keys that neither press a button nor end the dialog.
constexpr UINT kKeys[] = {VK_TAB,  VK_LEFT,   VK_RIGHT, VK_UP,   VK_DOWN, VK_HOME, VK_END,
                          VK_BACK, VK_DELETE, VK_PRIOR, VK_NEXT, 'A',     '7',     VK_F1};
constexpr UINT kEditCommands[] = {WM_CUT, WM_COPY, WM_CLEAR, WM_UNDO};

HWND FocusNow(HWND form) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info);
  return info.hwndFocus ? info.hwndFocus : form;
}

// One random input inside the dialog's windows. The buttons are never
// pressed: the ending is the cycle's own.
void RandomInput(HWND form, const TEditorCase* e) {
  const POINT at = RandomPoint(form);
  HWND target = WindowAt(form, at);
  HWND edit = e ? EditOf(form, *e, Pick(ParamCount(*e))) : nullptr;
  switch (Pick(e ? 10 : 6)) {
    case 0:
    case 1: Mouse(target, WM_MOUSEMOVE, 0, at); break;
    case 2:
      if (_stricmp(ClassOf(target).c_str(), "Button") == 0) break;
      ChoosePicker();
      Press(target, at, Pick(2) ? at : RandomPoint(form));
      if (Pick(4) == 0) Mouse(target, WM_LBUTTONDBLCLK, kLeftButton, at), Mouse(target, WM_LBUTTONUP, 0, at);
      break;
    case 3:
    case 4: Key(FocusNow(form), kKeys[Pick(std::size(kKeys))]); break;
    case 5: RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME); break;
    case 6:
    case 7: {  // Insert Variable
      ChoosePicker();
      POINT button{506 + 12, 28 + 12};
      HWND panel = GetParent(edit);
      ClientToScreen(panel, &button);
      Press(panel, button, button);
      break;
    }
    case 8: {
      const int length = GetWindowTextLengthA(edit);
      SendMessageA(edit, EM_SETSEL, Pick(length + 1), Pick(2) ? -1 : Pick(length + 1));
      for (char c : RandomText(12)) PostMessageA(edit, WM_CHAR, Pick(8) ? static_cast<unsigned char>(c) : VK_BACK, 1);
      break;
    }
    case 9:
      if (Pick(2)) Paste(edit, Pick(4) ? LongOrShort() : RandomText(10) + "\r\n" + RandomText(10));
      else PostMessageA(edit, kEditCommands[Pick(std::size(kEditCommands))], 0, 0);
      break;
  }
}

// ---- one cycle --------------------------------------------------------------------

enum class TEnding { Ok, Cancel, Escape, Enter, CloseBox };
const char* const kEndingNames[] = {"OK", "Cancel", "Escape", "Enter", "close box"};

std::string TextNow(HWND edit) {
  std::string text(static_cast<size_t>(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
  text.resize(static_cast<size_t>(SendMessageA(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

struct TCycle {
  const TEditorCase* editor;  // nil: the About box
  TEnding ending;
  std::string name;
  std::vector<std::string> okTexts;  // the edits' texts just before OK
  int inputs = 0;
};

void Drive(TCycle& c) {
  HWND form = WaitForWindow(c.editor ? c.editor->caption : "About vktQuantaro", 10000);
  if (!form) return Check(false, c.name + ": the dialog appears");
  for (int i = Pick(40); i > 0; --i, ++c.inputs) {
    RandomInput(form, c.editor);
    if (!Handled()) return Check(false, c.name + ": the dialog handles its input"), ForceClose(form, c.name);
    if (!IsWindowVisible(form)) return Check(false, c.name + ": the dialog stays open under random input");
  }
  if (c.ending == TEnding::Ok && c.editor)
    for (int i = 0; i < ParamCount(*c.editor); ++i) c.okTexts.push_back(TextNow(EditOf(form, *c.editor, i)));
  switch (c.ending) {
    case TEnding::Ok: PostMessageA(Child(form, "OK"), BM_CLICK, 0, 0); break;
    case TEnding::Cancel: PostMessageA(Child(form, "Cancel"), BM_CLICK, 0, 0); break;
    case TEnding::Escape: Key(FocusNow(form), VK_ESCAPE); break;
    case TEnding::Enter: Key(FocusNow(form), VK_RETURN); break;
    case TEnding::CloseBox: PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0); break;
  }
  if (!WaitFor([&] { return !IsWindow(form); })) ForceClose(form, c.name);
}

// A cycle whose call does not come back ends the run. The start is the
// 64-bit tick (0: no call); the watchdog reads it before its own clock, so
// the time passed never comes out negative, and a 32-bit tick would wrap.
std::atomic<ULONGLONG> gCallSince{0};
std::string gCallName;

DWORD gDialogThread = 0;

// Where the dialog's thread stands: its window state, and the stacks of
// this process's threads as Wine's debugger sees them.
void ReportStuck() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(gDialogThread, &info);
  std::printf("      flags %#lx, active %s, focus %s, capture %s, move/size %s\n", info.flags,
              ClassOf(info.hwndActive).c_str(), ClassOf(info.hwndFocus).c_str(), ClassOf(info.hwndCapture).c_str(),
              ClassOf(info.hwndMoveSize).c_str());
  std::fflush(stdout);
  char command[96];
  std::snprintf(command, sizeof command, "winedbg --command \"bt all\" %lu", GetCurrentProcessId());
  // The debugger stops this process while it looks, so it writes to a
  // file: a pipe would fill with nobody reading it.
  char path[MAX_PATH + 16];
  GetTempPathA(MAX_PATH, path);
  std::strcat(path, "soak-stacks.txt");
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = file;
  PROCESS_INFORMATION process{};
  if (CreateProcessA(nullptr, command, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  std::string output(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  ReadFile(file, output.data(), static_cast<DWORD>(output.size()), &read, nullptr);
  output.resize(read);
  CloseHandle(file);
  DeleteFileA(path);
  // Only this process's threads: the debugger goes through all of them.
  const std::string mine = "dialog_soak_wine.exe";
  for (size_t at = 0; (at = output.find("Backtracing for thread", at)) != std::string::npos;) {
    const size_t next = output.find("Backtracing for thread", at + 1);
    const std::string block = output.substr(at, next - at);
    if (block.substr(0, block.find('\n')).find(mine) != std::string::npos) std::printf("%s", block.c_str());
    at = next;
  }
  std::fflush(stdout);
}

DWORD WINAPI Watchdog(LPVOID) {
  for (;;) {
    Sleep(1000);
    const ULONGLONG since = gCallSince, now = GetTickCount64();
    if (!since || now < since + 60000) continue;
    std::printf("FAIL  %s: the call returns (none after %llu s)\n", gCallName.c_str(), (now - since) / 1000);
    ReportStuck();
    TerminateProcess(GetCurrentProcess(), 1);
  }
}

const TEditorCase* const kDialogs[] = {&kCalc, &kDiff, nullptr};

void RunCycle(const TPlugInApi& api, int number) {
  TCycle c{kDialogs[number % 3], TEnding::Ok, "", {}, 0};
  constexpr TEnding kEditorEndings[] = {TEnding::Ok, TEnding::Cancel, TEnding::Escape, TEnding::CloseBox};
  constexpr TEnding kAboutEndings[] = {TEnding::Ok, TEnding::Enter, TEnding::Escape, TEnding::CloseBox};
  c.ending = (c.editor ? kEditorEndings : kAboutEndings)[Pick(4)];
  c.name = "cycle " + std::to_string(number) + " (" + (c.editor ? c.editor->caption : "About") + ", " +
           kEndingNames[static_cast<int>(c.ending)] + ")";
  const int count = c.editor ? ParamCount(*c.editor) : 0;
  std::vector<std::optional<std::string>> texts;
  char* params[4] = {};
  for (int i = 0; i < count; ++i) {
    texts.push_back(Pick(10) ? std::optional(LongOrShort()) : std::nullopt);
    params[i] = NewBlock(texts[i]);
  }
  char* before[4];
  std::memcpy(before, params, sizeof before);
  gMade.clear();
  gAccessControl.clear();
  gShellCalls.clear();
  bool result = false;
  gCallName = c.name;
  gCallSince = GetTickCount64();
  UnderHost(c.name, [&] { c.editor ? void(result = api.EditAction(c.editor->action, params)) : api.About(); },
            [&] { Drive(c); });
  gCallSince = 0;

  std::string wrong;
  if (c.editor) {
    const bool ok = c.ending == TEnding::Ok;
    if (result != ok) wrong += std::string("returned ") + (result ? "true" : "false") + "; ";
    for (int i = 0; i < count; ++i) {
      const std::optional<std::string> now = params[i] ? std::optional<std::string>(params[i]) : std::nullopt;
      const bool fresh = params[i] != before[i];
      if (ok ? !fresh || i >= static_cast<int>(c.okTexts.size()) || now != c.okTexts[i] : fresh || now != texts[i])
        wrong += "parameter " + std::to_string(i) + (fresh ? " new " : " same ") + (now ? DisplayText(*now) : "nil") +
                 (ok && i < static_cast<int>(c.okTexts.size()) ? ", the edit held " + DisplayText(c.okTexts[i]) : "") +
                 "; ";
      if (ok && i < static_cast<int>(c.okTexts.size()) && texts[i].value_or("") != c.okTexts[i]) ++gTally.edited;
    }
    gTally.oks += ok ? count : 0;
  }
  for (HWND w : gMade)
    if (IsWindow(w)) wrong += "window " + ClassOf(w) + " \"" + TextOf(w) + "\" left; ";
  for (std::uint16_t control : gAccessControl)
    if (control != gHostState.control) wrong += "Insert Variable ran under control word " + std::to_string(control) + "; ";
  for (char*& p : params) FreeBlock(p);
  const TLocked lock;
  if (!gBlocks.empty()) wrong += std::to_string(gBlocks.size()) + " host blocks outstanding; ";
  gTally.outstanding += static_cast<int>(gBlocks.size());
  gTally.inputs += c.inputs;
  gTally.shellCalls += static_cast<int>(gShellCalls.size());
  ++gTally.endings[static_cast<int>(c.ending)];
  for (const std::string& bad : gBadReleases) wrong += bad + "; ";
  gBlocks.clear();
  gBadReleases.clear();
  Check(wrong.empty(), c.name + ": write-back, windows, host blocks", wrong);
}

double Megabytes(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// The memory committed for the process alone (under Wine PrivateUsage stays 0).
SIZE_T PrivateMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PagefileUsage;
}

// Bytes in use on the C runtime's heap, where the plug-in's objects and
// this program's live; the system's libraries keep theirs on other heaps.
SIZE_T RuntimeHeapBytes() {
  const HANDLE heap = reinterpret_cast<HANDLE>(_get_heap_handle());
  SIZE_T used = 0;
  PROCESS_HEAP_ENTRY entry{};
  HeapLock(heap);
  while (HeapWalk(heap, &entry))
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) used += entry.cbData;
  HeapUnlock(heap);
  return used;
}

struct TSample {
  THeld held;
  SIZE_T committed, heap;
};

TSample Sample() { return {Held(), PrivateMemory(), RuntimeHeapBytes()}; }

std::string Describe(const TSample& s) {
  static const std::map<DWORD, const char*> kTypes = {{OBJ_PEN, "pen"},     {OBJ_BRUSH, "brush"}, {OBJ_DC, "DC"},
                                                      {OBJ_FONT, "font"},   {OBJ_BITMAP, "bitmap"},
                                                      {OBJ_REGION, "region"}, {OBJ_MEMDC, "memory DC"}};
  std::string text = std::to_string(s.held.objects) + " GDI objects and " + std::to_string(s.held.dcs) + " DCs held (";
  for (const auto& [type, n] : s.held.byType)
    text += (text.back() == '(' ? "" : ", ") + std::to_string(n) + " " + (kTypes.count(type) ? kTypes.at(type) : "?");
  char memory[128];
  std::snprintf(memory, sizeof memory, "), %.2f MiB committed, %zu bytes on the C runtime heap", Megabytes(s.committed),
                static_cast<size_t>(s.heap));
  return text + memory;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4 || (argc > 3 && std::atoi(argv[3]) < 1)) {
    std::fprintf(stderr, "usage: dialog_soak_wine PLUGIN [SEED [CYCLES]]\n");
    return 2;
  }
  const unsigned seed = argc > 2 ? static_cast<unsigned>(std::stoul(argv[2])) : 1;
  const int cycles = argc > 3 ? std::stoi(argv[3]) : 300;
  constexpr int kWarmUp = 12;
  gRandom.seed(seed);
  TPlugInLibrary library;
  std::string error;
  if (!library.Load(argv[1], error)) {
    std::fprintf(stderr, "dialog_soak_wine: %s\n", error.c_str());
    return 2;
  }
  TZxHost host(library.Api());
  host.Start();
  SetHostInterfaceAccess(&Access);
  FollowImports(GetModuleHandleA("vktQuantaro.zxp"));
  WNDCLASSA probe{};
  probe.lpfnWndProc = ProbeProc;
  probe.lpszClassName = "vktSoakProbe";
  RegisterClassA(&probe);
  gProbe = CreateWindowExA(0, probe.lpszClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  gDialogThread = GetCurrentThreadId();
  CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));

  gQuiet = true;
  const DWORD start = GetTickCount();
  TSample warm{};
  std::vector<SIZE_T> committed;  // after each cycle
  committed.reserve(static_cast<std::size_t>(cycles));
  for (int n = 0; n < cycles; ++n) {
    RunCycle(library.Api(), n);
    committed.push_back(PrivateMemory());
    if (n == std::min(kWarmUp, cycles) - 1) warm = Sample();
  }
  const TSample end = Sample();
  gQuiet = false;
  const TTally& t = gTally;
  std::printf("soak: seed %u, %d cycles, %d random inputs, %.1f s\n", seed, cycles, t.inputs,
              (GetTickCount() - start) / 1000.0);
  std::printf("soak: ended by OK %d, Cancel %d, Escape %d, Enter %d, close box %d; Insert Variable picked %d, "
              "declined %d, raised %d; link opened %d; OK wrote %d fields, %d of them edited\n",
              t.endings[0], t.endings[1], t.endings[2], t.endings[3], t.endings[4], t.picker[0], t.picker[1],
              t.picker[2], t.shellCalls, t.oks, t.edited);
  std::printf("soak: host blocks outstanding after the cycles: %d\n", t.outstanding);
  std::printf("soak: after %d warm-up cycles: %s\n", kWarmUp, Describe(warm).c_str());
  std::printf("soak: at the end: %s\n", Describe(end).c_str());
  std::printf("soak: MiB committed every 25 cycles:");
  for (std::size_t n = 0; n < committed.size(); n += 25) std::printf(" %.2f", Megabytes(committed[n]));
  std::printf("\n");
  Check(end.held.objects <= warm.held.objects && end.held.dcs <= warm.held.dcs,
        "soak: GDI objects and DCs held do not grow");
  Check(end.heap <= warm.heap + 4096, "soak: the C runtime heap stays flat (4 KiB of slack)");
  // Wine's own libraries keep a little of each cycle (a word-wrapping
  // multi-line edit keeps its table of word breaks, 630 bytes for the calc
  // help text; the clipboard keeps copies of what was pasted): about 1 KiB.
  // They also load some things once, at a first use that may come after the
  // warm-up (2 MiB in one cycle, on a prefix whose first programs have just
  // run): the largest growth of a single cycle is left out. A leak grows
  // every cycle and is not hidden by that.
  std::size_t stepCycle = 0;
  SIZE_T step = 0;
  for (std::size_t n = static_cast<std::size_t>(kWarmUp); n < committed.size(); ++n)
    if (committed[n] > committed[n - 1] && committed[n] - committed[n - 1] > step)
      step = committed[n] - committed[n - 1], stepCycle = n;
  const double growth = static_cast<double>(end.committed) - static_cast<double>(warm.committed) -
                        static_cast<double>(step);
  const int counted = std::max(1, cycles - kWarmUp);
  char detail[128];
  std::snprintf(detail, sizeof detail, "%+.2f MiB, %.0f bytes a cycle, besides %.2f MiB in cycle %zu",
                growth / (1024.0 * 1024.0), growth / counted, Megabytes(step), stepCycle);
  Check(growth <= 4096.0 * counted, "soak: committed memory flat (under 4 KiB a cycle)", detail);
  std::printf("%s\n", gFailures ? "dialog soak: FAILED" : "dialog soak: all passed");
  std::fflush(stdout);
  return gFailures ? 1 : 0;
}
