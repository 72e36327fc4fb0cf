#pragma once
// What the dialogs ask of the platform beyond the framework: the host's
// active window, bringing a form to the top, the hand cursor over a link,
// and the shell that opens a web address. Natively there is no screen:
// none of these does anything.

#include <cstdint>
#include <string>

class TForm;
class TWinControl;

// The window that is active on the calling thread (none natively).
void* ActiveHostWindow();
// Raises the form's window to the top of the window order.
void BringFormToTop(TForm& form);
// The window message that reports (de)activation, and whether its first
// parameter reports activation.
constexpr unsigned MSG_ACTIVATE = 0x0006;
constexpr bool ReportsActivation(std::uintptr_t wParam) { return (wParam & 0xFFFF) != 0; }
// The window message that asks a window for its cursor (a standard child
// passes it up to its parents with its own window as first parameter), and
// whether that window is the control's.
constexpr unsigned MSG_SETCURSOR = 0x0020;
bool IsWindowOf(const TWinControl& control, std::uintptr_t window);
// Shows the pointing hand when `hand` is set and says so; else leaves the
// cursor to the default handling.
bool SetCursorShape(bool hand);
// The shell carries out `verb` on `file` with `owner` as the owning window,
// no parameters, no working folder and show command `show`; failures are
// not reported.
void ShellExecuteOpen(void* owner, const std::string& verb, const std::string& file, int show);
// Makes the forms' bitmaps findable by name (natively registered from the
// embedded files once; the Windows build has them in its resources).
void PrepareFormResources();
