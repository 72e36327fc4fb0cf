// The plug-in's dialogs in real windows under Wine, driven the way a screen
// reader or an automation tool would: the host's thread calls the export
// under the host's control word, a second thread finds the dialog by its
// caption, reads its windows' texts and places, types, clicks and closes
// it with window messages, and captures it into a PNG.
//
//   dialogs_wine all PLUGIN SCREENSHOT-FOLDER
//   dialogs_wine capture PLUGIN SCREENSHOT-FOLDER SUFFIX
//   dialogs_wine zxhost ZXHOST-EXE
//
// "capture" (on a display of 256 colours or fewer: the classic look) only
// shows the three dialogs, captures them as NAME-SUFFIX.png and closes
// them. "zxhost" runs zxhost's edit and about commands and works their
// dialogs from this process.
//
// Prints "ok" or "FAIL" a line per check; exits 1 when any failed.

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "host/PlugInLoader.h"
#include "host/ZxHost.h"
#include "host/win32/HostThunks.h"
#include "tests/plugin/FloatState.h"
#include "tests/wine/DialogDriver.h"
#include "tests/wine/PngFile.h"

#include <windows.h>
#include <commctrl.h>

namespace {

RECT PlaceInParent(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top);
}

// ---- captures -------------------------------------------------------------------

struct TCapture {
  int width = 0, height = 0;
  std::vector<TColor> pixels;
  TColor At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The window as it is on the screen, frame and caption included; the
// client area's origin inside it in `client`.
TCapture CaptureWindow(HWND window, POINT& client) {
  RECT r;
  GetWindowRect(window, &r);
  client = {0, 0};
  ClientToScreen(window, &client);
  client.x -= r.left, client.y -= r.top;
  TCapture c{r.right - r.left, r.bottom - r.top, {}};
  HDC screen = GetWindowDC(window);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), c.width, -c.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, c.width, c.height, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  const auto* source = static_cast<const std::uint32_t*>(bits);
  for (int i = 0; i < c.width * c.height; ++i)
    c.pixels.push_back(Rgb((source[i] >> 16) & 0xFF, (source[i] >> 8) & 0xFF, source[i] & 0xFF));
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return c;
}

std::string gShots;

TCapture Screenshot(HWND form, const std::string& name, POINT& client) {
  Settle(form);
  SetForegroundWindow(form);
  RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  Settle(form);
  TCapture c = CaptureWindow(form, client);
  WritePng(gShots + "\\" + name + ".png", c.width, c.height, c.pixels);
  return c;
}

std::string Hex(TColor c) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(c));
  return text;
}

// ---- the host's side --------------------------------------------------------------

enum class TPicker { Picks, Declines, Raises };
TPicker gPicker = TPicker::Picks;
std::string gPicked = "[picked]";
std::vector<std::string> gOffered;
std::vector<std::uint16_t> gControlSeen;
// Calls of the host routine that have read what they answer: the driver
// waits for the next one before it changes the answer.
std::atomic<int> gAccessDone{0};

bool Access(std::int32_t command, char** variable) {
  gControlSeen.push_back(ReadFloat().control);
  gOffered.push_back(std::to_string(command) + ":" + (*variable ? *variable : "(nil)"));
  switch (gPicker) {
    case TPicker::Picks:
      DisposeHostString(*variable);
      *variable = NewHostString(gPicked);
      ++gAccessDone;
      return true;
    case TPicker::Declines: ++gAccessDone; return false;
    case TPicker::Raises: {
      ++gAccessDone;
      int* volatile nowhere = nullptr;
      *nowhere = 1;  // the host's own fault, inside its routine
      return true;
    }
  }
  return false;
}

// ---- the editors ------------------------------------------------------------------

// What a window answers the dialog manager about a key press (the message
// handed by address: the driver shares the dialog's process).
LRESULT DialogCode(HWND window, WPARAM key) {
  MSG msg{window, WM_KEYDOWN, key, 1, 0, {}};
  return SendMessageA(window, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg));
}

// Where every window is, against the layout table.
void CheckLayout(HWND form, const TEditorCase& e) {
  struct TRow { std::vector<std::string> path; RECT want; };
  const bool calc = e.action == 1;
  const int y = calc ? 0 : 56;  // the diff form is 56 pixels taller below its help box
  std::vector<TRow> rows = {
      {{"OK"}, {407, 488 + y, 407 + 65, 488 + y + 25}},
      {{"Cancel"}, {483, 488 + y, 483 + 62, 488 + y + 25}},
      {{e.panels[0]}, calc ? RECT{8, 8, 545, 329} : RECT{8, 8, 545, 73}},
      {{e.panels[1]}, calc ? RECT{8, 336, 545, 401} : RECT{8, 80, 545, 145}},
      {{e.panels[0], "#Edit"}, {12, 28, 497, 51}},
      {{e.panels[1], "#Edit"}, {12, 28, 497, 51}},
      {{"vktCalcExpress  (vktQuantaro)"}, {7, 408, 545, 481}},
  };
  if (calc) {
    rows.push_back({{e.panels[0], e.helpBox}, {12, 64, 529, 313}});
    rows.push_back({{e.panels[0], e.helpBox, "#Edit"}, {8, 24, 513, 241}});
  } else {
    rows[6] = {{"vktDiffExpress  (vktQuantaro)"}, {7, 464, 545, 537}};
    rows.push_back({{e.panels[2]}, {8, 392, 545, 457}});
    rows.push_back({{e.panels[2], "#Edit"}, {12, 28, 497, 51}});
    rows.push_back({{e.helpBox}, {8, 152, 545, 385}});
    rows.push_back({{e.helpBox, "#Edit"}, {8, 24, 529, 225}});
  }
  rows.push_back({{rows[6].path[0], "#Static"}, {8, 24, 529, 65}});
  std::string wrong;
  for (const TRow& row : rows) {
    HWND w = Path(form, row.path);
    const RECT got = w ? PlaceInParent(w) : RECT{};
    if (!w || std::memcmp(&got, &row.want, sizeof got) != 0)
      wrong += row.path.back() + (w ? " at " + Describe(got) : " missing") + "; ";
  }
  RECT client;
  GetClientRect(form, &client);
  if (client.right != 552 || client.bottom != e.clientHeight) wrong += "client " + Describe(client);
  Check(wrong.empty(), std::string(e.caption) + ": every window at its place and size", wrong);
}

std::vector<std::string> MemoLines(HWND memo) {
  std::vector<std::string> lines;
  const std::string text = TextOf(memo);
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

void CheckTexts(HWND form, const TEditorCase& e) {
  const bool calc = e.action == 1;
  HWND memo = calc ? Path(form, {e.panels[0], e.helpBox, "#Edit"}) : Path(form, {e.helpBox, "#Edit"});
  const std::vector<std::string> lines = memo ? MemoLines(memo) : std::vector<std::string>{};
  const bool memoOk = lines.size() == (calc ? 14u : 13u) &&
                      (calc ? lines[7] == "Works with real numbers; " &&
                                  lines[12] == std::string(32, ' ') + "cth or coth, heaviside; "
                            : lines[2].back() == ' ' && lines[10] == std::string(35, ' ') +
                                                                         "arcsin, arcos, arctg, arcctg, sh, ch,");
  Check(memoOk, std::string(e.caption) + ": help text line by line, spaces kept",
        std::to_string(lines.size()) + " lines");
  HWND label = Path(form, {std::string(calc ? "vktCalcExpress" : "vktDiffExpress") + "  (vktQuantaro)", "#Static"});
  Check(label && TextOf(label) == (calc ? "Resolve formula and get a return-string." : "Show differentiated expression."),
        std::string(e.caption) + ": command box and description", label ? TextOf(label) : "missing");
}

// The names of the windows Tab visits, from the OK button on.
std::string TabWalk(HWND form, const std::vector<std::pair<HWND, std::string>>& names, int steps) {
  auto name = [&](HWND w) {
    for (const auto& [window, n] : names)
      if (window == w) return n;
    return "?" + ClassOf(w) + ":" + TextOf(w);
  };
  std::string walk;
  for (int i = 0; i < steps; ++i) {
    HWND focus = FocusOf(form);
    walk += name(focus) + " ";
    Key(focus, VK_TAB);
    Settle(form);
  }
  return walk;
}

void CheckTabOrder(HWND form, const TEditorCase& e) {
  const bool calc = e.action == 1;
  HWND memo = calc ? Path(form, {e.panels[0], e.helpBox, "#Edit"}) : Path(form, {e.helpBox, "#Edit"});
  std::vector<std::pair<HWND, std::string>> names = {
      {Child(form, "OK"), "OKBtn"}, {Child(form, "Cancel"), "CancelBtn"}, {memo, "Memo1"}};
  for (int i = 0; i < ParamCount(e); ++i) names.push_back({EditOf(form, e, i), "Edit" + std::to_string(i + 1)});
  // Start on the OK button: Tab from the last stop lands there.
  PostMessageA(form, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Child(form, "OK")), 1);
  Settle(form);
  const std::string want = calc ? "OKBtn CancelBtn Edit1 Memo1 Edit2 OKBtn "
                                : "OKBtn CancelBtn Edit1 Edit2 Edit3 Memo1 OKBtn ";
  const std::string walk = TabWalk(form, names, calc ? 6 : 7);
  Check(walk == want, std::string(e.caption) + ": tab order", walk);
}

BOOL CALLBACK FindToolTips(HWND window, LPARAM found) {
  auto* result = reinterpret_cast<HWND*>(found);
  if (GetWindow(window, GW_OWNER) != *result || _stricmp(ClassOf(window).c_str(), TOOLTIPS_CLASSA) != 0) return TRUE;
  *result = window;
  return FALSE;
}

// The tooltip window the form owns, none when it has none.
HWND ToolTipsOf(HWND form) {
  HWND found = form;
  EnumThreadWindows(GetWindowThreadProcessId(form, nullptr), FindToolTips, reinterpret_cast<LPARAM>(&found));
  return found == form ? nullptr : found;
}

// Every tool of the form's tooltip window as "text on window at place", and
// the tip shown while the pointer rests on the first "Insert Variable"
// button, gone when it leaves. The driver shares the dialog's process, so
// the tooltip writes into this thread's buffers.
void CheckHints(HWND form, const TEditorCase& e) {
  HWND tips = ToolTipsOf(form);
  const int count = tips ? static_cast<int>(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0)) : 0;
  std::vector<std::string> tools, want;
  for (int i = 0; i < count; ++i) {
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    if (!SendMessageA(tips, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&info))) continue;
    char text[1024] = "";
    info.lpszText = text;
    SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    tools.push_back(std::string(text) + " on " + TextOf(info.hwnd) + " at " + Describe(info.rect));
  }
  for (int i = 0; i < ParamCount(e); ++i) want.push_back(std::string("Insert Variable on ") + e.panels[i] + " at 506,28 24x24");
  std::sort(tools.begin(), tools.end());
  std::sort(want.begin(), want.end());
  std::string got;
  for (const std::string& t : tools) got += t + "; ";
  Check(tools == want, std::string(e.caption) + ": a tooltip tool over each Insert Variable button", got);

  HWND panel = Child(form, e.panels[0]);
  POINT over{506 + 12, 28 + 12};
  ClientToScreen(panel, &over);
  SetCursorPos(over.x, over.y);
  PostMessageA(panel, WM_MOUSEMOVE, 0, MAKELPARAM(506 + 12, 28 + 12));
  const bool shown = tips && WaitFor([&] { return IsWindowVisible(tips) != FALSE; }, 5000);
  SetCursorPos(0, 0);
  PostMessageA(panel, WM_MOUSEMOVE, 0, MAKELPARAM(100, 5));
  const bool hidden = tips && WaitFor([&] { return !IsWindowVisible(tips); }, 5000);
  Check(shown && hidden, std::string(e.caption) + ": the tip shows while the pointer rests on the button, not after",
        std::string(shown ? "shown" : "never shown") + (hidden ? ", hidden" : ", still shown"));
}

// Clicks the "Insert Variable" button of parameter i, painted on its panel.
void InsertVariable(HWND form, const TEditorCase& e, int i) {
  const int before = gAccessDone;
  Click(Path(form, {e.panels[i]}), 506 + 12, 28 + 12);
  for (int wait = 0; wait < 500 && gAccessDone == before; ++wait) Sleep(20);
  Settle(form);
}

char* gParams[4];
bool gResult = false;

void MakeParams(const TEditorCase& e, const std::vector<std::string>& texts) {
  for (int i = 0; i < 4; ++i) gParams[i] = i < ParamCount(e) ? NewHostString(texts[i]) : nullptr;
}

void FreeParams() {
  for (char*& p : gParams) DisposeHostString(p);
}

// The dialog of e shown with `texts`, driven by `drive`; afterwards the
// parameters against `want` (nothing: untouched) and the result.
void EditCase(const TPlugInApi& api, const TEditorCase& e, const std::string& what,
              const std::vector<std::string>& texts, const std::function<void(HWND)>& drive,
              const std::vector<std::string>& want) {
  MakeParams(e, texts);
  char* before[4];
  std::memcpy(before, gParams, sizeof before);
  const std::string name = std::string(e.caption) + ", " + what;
  UnderHost(name, [&] { gResult = api.EditAction(e.action, gParams); }, [&] {
    HWND form = WaitForWindow(e.caption);
    if (!form) return Check(false, name + ": the dialog appears");
    drive(form);
    ForceClose(form, name);
  });
  bool ok = gResult == !want.empty();
  std::string detail = std::string("returned ") + (gResult ? "true" : "false");
  for (int i = 0; i < ParamCount(e); ++i) {
    const std::string got = gParams[i] ? gParams[i] : "(nil)";
    const bool fresh = gParams[i] != before[i];
    ok = ok && (want.empty() ? !fresh && got == texts[i] : fresh && got == want[i]);
    detail += std::string(", ") + (fresh ? "new " : "same ") + Brief(got);
  }
  Check(ok, name, detail);
  FreeParams();
}

void EditorChecks(const TPlugInApi& api, const TEditorCase& e) {
  const std::vector<std::string> texts = {"2*x", e.action == 1 ? "r" : "x", "d"};
  std::vector<std::string> same(texts.begin(), texts.begin() + ParamCount(e));

  EditCase(api, e, "read back and left with OK unchanged", texts, [&](HWND form) {
    CheckLayout(form, e);
    CheckTexts(form, e);
    std::string panels;
    for (int i = 0; i < ParamCount(e); ++i)
      if (!Child(form, e.panels[i])) panels += std::string(e.panels[i]) + " missing; ";
    for (int i = 0; i < ParamCount(e); ++i)
      if (TextOf(EditOf(form, e, i)) != texts[i]) panels += "Edit" + std::to_string(i + 1) + " holds " + TextOf(EditOf(form, e, i));
    Check(panels.empty(), std::string(e.caption) + ": panel captions and parameter texts", panels);
    POINT client;
    const TCapture shot = Screenshot(form, e.action == 1 ? "vktCalcExpress" : "vktDiffExpress", client);
    const int panelX = client.x + 8, panelY = client.y + 8;
    const TColor band = shot.At(panelX + 2, panelY + 5), face = shot.At(client.x + 407 + 4, client.y + 488 + (e.action == 1 ? 0 : 56) + 12);
    const int boxX = client.x + (e.action == 1 ? 20 : 8), boxY = client.y + (e.action == 1 ? 72 : 152);
    const TColor body = shot.At(boxX + 4, boxY + 100);
    Check(body == Rgb(255, 255, 225) && face == static_cast<TColor>(GetSysColor(COLOR_BTNFACE)) && band != face,
          std::string(e.caption) + ": help box body, button face and caption band in the capture",
          "body " + Hex(body) + ", face " + Hex(face) + ", band " + Hex(band));
    CheckTabOrder(form, e);
    CheckHints(form, e);
    PostMessageA(Child(form, "OK"), BM_CLICK, 0, 0);
  }, same);

  std::vector<std::string> typed = same;
  typed[0] = "sin(x)^2";
  typed[ParamCount(e) - 1] = "[picked]";
  EditCase(api, e, "typed, Insert Variable picked, declined and raised, then OK", texts, [&](HWND form) {
    Type(EditOf(form, e, 0), "sin(x)^2");
    gOffered.clear();
    gControlSeen.clear();
    const int last = ParamCount(e) - 1;
    gPicker = TPicker::Picks;
    InsertVariable(form, e, last);
    const bool picked = TextOf(EditOf(form, e, last)) == "[picked]";
    gPicker = TPicker::Declines;
    InsertVariable(form, e, 0);
    const bool declined = TextOf(EditOf(form, e, 0)) == "sin(x)^2";
    gPicker = TPicker::Raises;
    InsertVariable(form, e, 0);
    const bool survived = IsWindow(form) && TextOf(EditOf(form, e, 0)) == "sin(x)^2";
    bool hostWord = gControlSeen.size() == 3;
    for (std::uint16_t c : gControlSeen) hostWord = hostWord && c == gHostState.control;
    std::string offered;
    for (const std::string& o : gOffered) offered += o + " ";
    Check(picked && declined && survived && hostWord &&
              offered == "14:" + texts[last] + " 14:sin(x)^2 14:sin(x)^2 ",
          std::string(e.caption) + ": Insert Variable takes the text on true only, survives a fault, under the host's word",
          "offered " + offered);
    gPicker = TPicker::Picks;
    PostMessageA(Child(form, "OK"), BM_CLICK, 0, 0);
  }, typed);

  const struct { const char* what; std::function<void(HWND)> end; } endings[] = {
      {"Cancel", [](HWND form) { PostMessageA(Child(form, "Cancel"), BM_CLICK, 0, 0); }},
      {"Escape", [](HWND form) { Key(FocusOf(form), VK_ESCAPE); }},
      {"close box", [](HWND form) { PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"Escape in the help text", [&](HWND form) {
         HWND memo = MemoOf(form, e);
         constexpr LRESULT wants = DLGC_WANTALLKEYS | DLGC_WANTTAB;
         Check((DialogCode(memo, VK_TAB) & wants) == 0 && (DialogCode(memo, VK_ESCAPE) & wants) == 0 &&
                   (DialogCode(memo, 'A') & DLGC_WANTALLKEYS) != 0,
               std::string(e.caption) + ": the help text leaves Tab and Escape to the dialog, keeps other keys");
         PostMessageA(form, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(memo), 1);
         Settle(form);
         Key(FocusOf(form), VK_ESCAPE);
       }},
  };
  for (const auto& ending : endings)
    EditCase(api, e, std::string("typed, then ") + ending.what, texts, [&](HWND form) {
      Type(EditOf(form, e, 0), "changed");
      ending.end(form);
    }, {});
}

// ---- long formulas and texts a window cannot hold ------------------------------------

// Formulas far past the standard edit's default limits (about 30,000 typed
// characters, 32,767 in a window name): each shown whole in its field, End
// and one typed character then OK write it back with that character,
// Cancel keeps the block. On the diff form for its last field too.
void LongFormulaChecks(const TPlugInApi& api, const TEditorCase& e) {
  const std::vector<int> fields = e.action == 1 ? std::vector<int>{0} : std::vector<int>{0, 2};
  for (size_t length : {40000u, 100000u, 1000000u})
    for (int field : fields) {
      std::vector<std::string> texts = {"2*x", e.action == 1 ? "r" : "x", "d"};
      texts.resize(ParamCount(e));
      std::string formula;
      while (formula.size() < length) formula += "+x" + std::to_string(formula.size() % 97);
      formula.resize(length);
      texts[field] = formula;
      std::vector<std::string> want = texts;
      want[field] += "7";
      const std::string what = std::to_string(length) + " characters in Edit" + std::to_string(field + 1);
      for (bool ok : {true, false})
        EditCase(api, e, what + (ok ? ", End, one character, OK" : ", End, one character, Cancel"), texts,
                 [&](HWND form) {
                   HWND edit = EditOf(form, e, field);
                   const std::string shown = TextOf(edit);
                   Check(shown == formula, std::string(e.caption) + ": " + what + " shown whole", Brief(shown));
                   PostMessageA(form, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), 1);
                   Key(edit, VK_END);
                   PostMessageA(edit, WM_CHAR, '7', 1);
                   WaitFor([&] { return SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0) == LRESULT(length + 1); }, 5000);
                   PostMessageA(Child(form, ok ? "OK" : "Cancel"), BM_CLICK, 0, 0);
                 },
                 ok ? want : std::vector<std::string>{});
    }
}

// Edits that keep at most 50,000 characters of a text they are given and
// say nothing, as one short of memory would: the dialogs' edits while the
// hook is set on the host's thread.
constexpr size_t kKept = 50000;
WNDPROC gEditProc = nullptr;

LRESULT CALLBACK CrampedEdit(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  const char* text = reinterpret_cast<const char*>(lParam);
  if (msg == WM_SETTEXT && text && std::strlen(text) > kKept) {
    const std::string kept(text, kKept);
    return CallWindowProcA(gEditProc, window, msg, wParam, reinterpret_cast<LPARAM>(kept.c_str()));
  }
  return CallWindowProcA(gEditProc, window, msg, wParam, lParam);
}

LRESULT CALLBACK CrampEdits(int code, WPARAM wParam, LPARAM lParam) {
  HWND window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_CREATEWND && _stricmp(ClassOf(window).c_str(), "Edit") == 0)
    gEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CrampedEdit)));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A text its edit does not hold whole is never shown cut: as a parameter
// it opens no dialog (false, parameters untouched), as a picked variable
// it leaves the field as it was.
void CutTextChecks(const TPlugInApi& api, const TEditorCase& e) {
  const std::string longText(kKept + 1, 'x');
  std::vector<std::string> texts = {"2*x", e.action == 1 ? "r" : "x", "d"};
  texts.resize(ParamCount(e));
  auto cramped = [&](const std::function<void()>& call) {
    HHOOK hook = SetWindowsHookExA(WH_CBT, CrampEdits, nullptr, GetCurrentThreadId());
    call();
    UnhookWindowsHookEx(hook);
  };

  MakeParams(e, {longText, texts[1], "d"});
  char* const first = gParams[0];
  gResult = true;
  UnderHost(std::string(e.caption) + ", a parameter its edit cannot hold",
            [&] { cramped([&] { gResult = api.EditAction(e.action, gParams); }); }, [&] {
              HWND form = WaitForWindow(e.caption, 1000);
              if (form) PostMessageA(Child(form, "OK"), BM_CLICK, 0, 0);
            });
  Check(!gResult && gParams[0] == first && gParams[0] == longText,
        std::string(e.caption) + ": a parameter its edit cannot hold opens no dialog, false, parameters untouched");
  FreeParams();

  MakeParams(e, texts);
  UnderHost(std::string(e.caption) + ", a picked variable its edit cannot hold",
            [&] { cramped([&] { gResult = api.EditAction(e.action, gParams); }); }, [&] {
              HWND form = WaitForWindow(e.caption);
              if (!form) return Check(false, std::string(e.caption) + ": the dialog appears");
              gPicked = longText;
              InsertVariable(form, e, 0);
              gPicked = "[picked]";
              Check(TextOf(EditOf(form, e, 0)) == texts[0],
                    std::string(e.caption) + ": a picked variable its edit cannot hold leaves the field as it was",
                    Brief(TextOf(EditOf(form, e, 0))));
              PostMessageA(Child(form, "OK"), BM_CLICK, 0, 0);
              ForceClose(form, e.caption);
            });
  bool same = gResult;
  for (int i = 0; i < ParamCount(e); ++i) same = same && gParams[i] == texts[i];
  Check(same, std::string(e.caption) + ": then OK writes back what the fields show");
  FreeParams();
}

// ---- the About box ------------------------------------------------------------------

void AboutChecks(const TPlugInApi& api, HMODULE plugin) {
  FARPROC shell = GetProcAddress(LoadLibraryA("shell32.dll"), "ShellExecuteA");
  Check(ReplaceImport(plugin, "shell32.dll", shell, reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&FakeShellExecute))),
        "About: the shell replaced in the plug-in's imports");
  UnderHost("About", [&] { api.About(); }, [&] {
    HWND form = WaitForWindow("About vktQuantaro");
    if (!form) return Check(false, "About: the box appears");
    HWND box = Child(form, "Homepage"), link = box ? Child(box, "#Static") : nullptr;
    HWND panel = Child(form, "Commandlist"), memo = panel ? Child(panel, "#Edit") : nullptr;
    RECT client;
    GetClientRect(form, &client);
    const std::vector<std::string> lines = memo ? MemoLines(memo) : std::vector<std::string>{};
    Check(link && memo && client.right == 361 && client.bottom == 264 && lines.size() == 4 &&
              lines[1] == "\tvktCalcExpress" && Describe(PlaceInParent(link)) == "8,32 329x17" &&
              Describe(PlaceInParent(box)) == "8,56 345x65" && Describe(PlaceInParent(Child(form, "OK"))) == "136,232 84x25",
          "About: windows, places and the command list", link ? TextOf(link) : "no link");
    POINT origin;
    // The link's colour, read from the screen inside the link's text.
    auto linkColours = [&](const std::string& shot) {
      const TCapture c = Screenshot(form, shot, origin);
      RECT r = PlaceInParent(link);
      MapWindowPoints(box, form, reinterpret_cast<POINT*>(&r), 2);
      bool red = false, blue = false;
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
          const TColor p = c.At(origin.x + x, origin.y + y);
          red = red || p == Rgb(255, 0, 0);
          blue = blue || p == Rgb(0, 0, 255);
        }
      return std::string(red ? "red" : "") + (blue ? "blue" : "");
    };
    // The cursor the link asks for: the pointing hand while it is red.
    auto cursor = [&] {
      SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
      CURSORINFO info{};
      info.cbSize = sizeof info;
      GetCursorInfo(&info);
      return info.hCursor == LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)) ? "hand" : "arrow";
    };
    const std::string atRest = linkColours("About");
    const std::string restCursor = cursor();
    PostMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(20, 8));
    const std::string over = linkColours("About-link-hot");
    const std::string hotCursor = cursor();
    PostMessageA(form, WM_MOUSEMOVE, 0, MAKELPARAM(200, 30));
    const std::string offForm = linkColours("About-link-off");
    PostMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(20, 8));
    Settle(form);
    PostMessageA(box, WM_MOUSEMOVE, 0, MAKELPARAM(100, 5));
    const std::string offBox = linkColours("About-link-off");
    Check(restCursor == "arrow" && hotCursor == "hand" && cursor() == std::string("arrow"),
          "About: the pointing hand over the red link only", restCursor + "/" + hotCursor);
    Check(atRest == "blue" && over == "red" && offForm == "blue" && offBox == "blue",
          "About: the link is red under the mouse, blue again over the form and the help box",
          atRest + "/" + over + "/" + offForm + "/" + offBox);
    gShellCalls.clear();
    Click(link, 20, 8);
    Settle(form);
    Check(gShellCalls.size() == 1 && gShellCalls[0] == "open " + TextOf(link) + " - - 0",
          "About: a click opens the address through the shell, hidden", gShellCalls.empty() ? "no call" : gShellCalls[0]);
    Key(FocusOf(form), VK_RETURN);
    Check(WaitFor([&] { return !IsWindow(form); }), "About: Enter closes the box");
    ForceClose(form, "About");
  });
}

// Each dialog shown, captured and closed.
void CaptureOnly(const TPlugInApi& api, const std::string& suffix) {
  for (const TEditorCase* e : {&kCalc, &kDiff}) {
    MakeParams(*e, {"2*x", "x", "d"});
    UnderHost(e->caption, [&] { api.EditAction(e->action, gParams); }, [&] {
      HWND form = WaitForWindow(e->caption);
      if (!form) return Check(false, std::string(e->caption) + ": the dialog appears");
      POINT client;
      Screenshot(form, std::string(e->action == 1 ? "vktCalcExpress-" : "vktDiffExpress-") + suffix, client);
      PostMessageA(Child(form, "Cancel"), BM_CLICK, 0, 0);
      ForceClose(form, e->caption);
    });
    FreeParams();
  }
  UnderHost("About", [&] { api.About(); }, [&] {
    HWND form = WaitForWindow("About vktQuantaro");
    if (!form) return Check(false, "About: the box appears");
    POINT client;
    Screenshot(form, "About-" + suffix, client);
    PostMessageA(Child(form, "OK"), BM_CLICK, 0, 0);
    ForceClose(form, "About");
  });
}

// ---- zxhost's commands, from outside its process ---------------------------------

// Runs zxhost with `arguments` while `drive` works its dialog; its output.
std::string RunZxHost(const std::string& exe, const std::string& arguments, const char* caption,
                      const std::function<void(HWND)>& drive) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  CreatePipe(&read, &write, &inherit, 0);
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = write;
  PROCESS_INFORMATION process{};
  std::string command = "\"" + exe + "\" " + arguments;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
    return "(zxhost did not start)";
  CloseHandle(write);
  // A new process under Wine takes its time to start.
  HWND form = WaitForWindow(caption, 30000);
  if (form) drive(form);
  else Check(false, std::string("zxhost: ") + caption + " appears");
  ForceClose(form, std::string("zxhost ") + arguments);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
    Check(false, "zxhost " + arguments + ": ends");
    TerminateProcess(process.hProcess, 1);
  }
  // Only what the pipe holds: when zxhost was the first program to want a
  // desktop, the desktop process it started inherited the pipe's writing
  // end and keeps it open after zxhost ended.
  std::string output;
  char buffer[512];
  DWORD available = 0, got = 0;
  while (PeekNamedPipe(read, nullptr, 0, nullptr, &available, nullptr) && available &&
         ReadFile(read, buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr) && got)
    output.append(buffer, got);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  CloseHandle(read);
  output.erase(std::remove(output.begin(), output.end(), '\r'), output.end());
  return output;
}

void ZxHostChecks(const std::string& exe) {
  const std::string edited = RunZxHost(exe, "edit 1 1+2 r", "vktCalcExpress Properties", [](HWND form) {
    Type(EditOf(form, kCalc, 0), "3*4");
    PostMessageA(Child(form, "OK"), BM_CLICK, 0, 0);
  });
  Check(edited == "returned true\nparam 0 = \"3*4\" (new block)\nparam 1 = \"r\" (new block)\n",
        "zxhost edit: typed and OK", edited);
  const std::string cancelled = RunZxHost(exe, "edit 2 x^2 x d", "vktDiffExpress Properties", [](HWND form) {
    Key(FocusOf(form), VK_ESCAPE);
  });
  Check(cancelled.find("returned false\nparam 0 = \"x^2\" (same block)") == 0, "zxhost edit: Escape", cancelled);
  const std::string about = RunZxHost(exe, "about", "About vktQuantaro", [](HWND form) {
    Key(FocusOf(form), VK_RETURN);
  });
  Check(about.empty(), "zxhost about: Enter closes it", about);
}

int Usage() {
  std::fprintf(stderr, "usage: dialogs_wine all PLUGIN SCREENSHOT-FOLDER\n"
                       "       dialogs_wine capture PLUGIN SCREENSHOT-FOLDER SUFFIX\n"
                       "       dialogs_wine zxhost ZXHOST-EXE\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "zxhost" && argc == 3) {
    ZxHostChecks(argv[2]);
    std::printf("%s\n", gFailures ? "zxhost dialogs: FAILED" : "zxhost dialogs: all passed");
    return gFailures ? 1 : 0;
  }
  if (!((mode == "all" && argc == 4) || (mode == "capture" && argc == 5))) return Usage();
  gShots = argv[3];
  TPlugInLibrary library;
  std::string error;
  if (!library.Load(argv[2], error)) {
    std::fprintf(stderr, "dialogs_wine: %s\n", error.c_str());
    return 2;
  }
  TZxHost host(library.Api());
  host.Start();
  SetHostInterfaceAccess(&Access);
  const TPlugInApi& api = library.Api();
  if (mode == "capture") {
    CaptureOnly(api, argv[4]);
    std::printf("%s\n", gFailures ? "dialog captures: FAILED" : "dialog captures: all taken");
    return gFailures ? 1 : 0;
  }

  for (std::int32_t action : {0, 3}) {
    char* params[4] = {NewHostString("a"), NewHostString("b"), NewHostString("c"), nullptr};
    char* const first = params[0];
    bool result = true;
    UnderHost("action " + std::to_string(action), [&] { result = api.EditAction(action, params); }, [] {});
    Check(!result && params[0] == first && FindWindowA(nullptr, "Action Properties") == nullptr,
          "action " + std::to_string(action) + ": nothing shown, false, parameters untouched");
    for (char*& p : params) DisposeHostString(p);
  }
  for (const TEditorCase* e : {&kCalc, &kDiff}) {
    EditorChecks(api, *e);
    LongFormulaChecks(api, *e);
    CutTextChecks(api, *e);
  }
  AboutChecks(api, GetModuleHandleA("vktQuantaro.zxp"));

  std::printf("%s\n", gFailures ? "dialogs: FAILED" : "dialogs: all passed");
  return gFailures ? 1 : 0;
}
