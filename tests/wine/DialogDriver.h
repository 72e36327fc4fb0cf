#pragma once
// What the Wine dialog programs share: finding the plug-in's windows from
// outside, working them with window messages from a second thread, calling
// an export under the host's control word while they do, and replacing
// the plug-in's imports.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/plugin/FloatState.h"

// ---- reporting --------------------------------------------------------------------

extern int gFailures;
extern bool gQuiet;  // passes are not printed, failures always are

void Check(bool ok, const std::string& what, std::string detail = "");

// ---- windows seen from outside ------------------------------------------------

std::string TextOf(HWND window);
// A text fit for a report line: long ones by their ends and length.
std::string Brief(const std::string& text);
std::string ClassOf(HWND window);

// Direct child by window text, or by class when the key starts with "#";
// `skip` further matches are passed over.
HWND Child(HWND parent, const std::string& key, int skip = 0);
// A window down a path of keys from the form.
HWND Path(HWND form, const std::vector<std::string>& keys);

template <typename F>
bool WaitFor(F&& done, int milliseconds = 5000) {
  for (int waited = 0; waited < milliseconds; waited += 20) {
    if (done()) return true;
    Sleep(20);
  }
  return done();
}

HWND WaitForWindow(const char* caption, int milliseconds = 5000);
// The focused window of the dialog's thread, once the dialog has one.
HWND FocusOf(HWND form);

void Key(HWND target, UINT key);
void Type(HWND edit, const std::string& text);
constexpr WPARAM kLeftButton = 0x0001;
void Click(HWND window, int x, int y);
// Waits until the posted messages have been handled by the dialog's thread.
void Settle(HWND form);

// ---- the host's side --------------------------------------------------------------

constexpr std::uint16_t kHostControl = 0x1332;
constexpr std::uint32_t kHostMxcsr = 0x1F80;
extern TFloatState gHostState;  // as the processor read the host's words back

// One export under the host's control word, while `drive` works the
// dialog from a second thread; the words must come back exactly, and the
// checked calls of zxhost's thunks must have kept ESP and the float state.
void UnderHost(const std::string& what, const std::function<void()>& call, const std::function<void()>& drive);

// Ends a dialog the driver could not end itself (a failure).
void ForceClose(HWND form, const std::string& what);

// Points the plug-in's import of `original` from `dll` at `replacement`.
bool ReplaceImport(HMODULE module, const char* dll, FARPROC original, FARPROC replacement);

template <typename F>
FARPROC AsProc(F* function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(function));
}

// The shell as the DLL imports it, replaced in its import table: each call
// as "verb file params|- folder|- show".
extern std::vector<std::string> gShellCalls;
HINSTANCE WINAPI FakeShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder, INT show);

// ---- the editors ------------------------------------------------------------------

struct TEditorCase {
  std::int32_t action;
  const char* caption;
  const char* panels[3];
  const char* helpBox;
  int clientHeight;
};

extern const TEditorCase kCalc, kDiff;

int ParamCount(const TEditorCase& e);
HWND EditOf(HWND form, const TEditorCase& e, int i);
// The help text: in the first panel's help box on the calc form.
HWND MemoOf(HWND form, const TEditorCase& e);
