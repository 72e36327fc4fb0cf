#pragma once
// The entry points behind the dialogs: the editor of an action's
// parameters and the About box. Each creates its form with the host's
// active window as owner, shows it modally and destroys it on every path;
// no error and no floating-point fault leaves them.

#include <cstdint>
#include <functional>
#include <memory>

#include "ui/Form.h"

class TActionEditForm;

// The editor of action 1 (calc) or 2 (diff), captions and texts filled in
// from the registration and the parameters; none for any other number.
std::unique_ptr<TActionEditForm> CreateEditForm(std::int32_t action, char** params);

// Shows the editor of `action` for `params`. On OK every parameter takes a
// fresh block with its edit's text, in order, and the result is true; any
// other ending leaves the parameters as they were and gives false, and so
// does an action without an editor.
bool EditActionDialog(std::int32_t action, char** params) noexcept;
void AboutDialog() noexcept;

// How a form is shown modally; tests replace it to act as the author.
using TShowModal = std::function<TModalResult(TForm&)>;
extern TShowModal ShowFormModal;
