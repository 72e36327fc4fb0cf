#pragma once
// Showing a form in the Windows build.

#include "ui/Form.h"

// Disables the owner window (the host's active window unless the form names
// one), runs the form's own message loop with the dialog keys until a modal
// result is set, re-enables and re-activates the owner before the form's
// windows go. A WM_QUIT met on the way is posted again for the host.
TModalResult RunModal(TForm& form);
// Creates the form's windows and shows it without waiting.
void ShowForm(TForm& form);
