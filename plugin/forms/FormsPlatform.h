#pragma once
// What the dialogs ask of the platform beyond the framework: the host's
// active window and the shell that opens a web address. Natively there is
// no screen: neither does anything.

#include <string>

// The window that is active on the calling thread (none natively).
void* ActiveHostWindow();
// The shell carries out `verb` on `file` with `owner` as the owning window,
// no parameters, no working folder and show command `show`; failures are
// not reported.
void ShellExecuteOpen(void* owner, const std::string& verb, const std::string& file, int show);
// Makes the forms' bitmaps findable by name (natively registered from the
// embedded files once; the Windows build has them in its resources).
void PrepareFormResources();
