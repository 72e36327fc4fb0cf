#pragma once
// How a modal form ended: set by the button that closes it, by the dialog
// keys and by the close box.

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2;
