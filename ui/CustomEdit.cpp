#include "ui/CustomEdit.h"

#include <algorithm>

#include "ui/Platform.h"

namespace {
// The standard edit's own message; with 0 it takes as much as memory holds
// (its default would stop typing at about 30,000 characters).
constexpr unsigned kSetLimitText = 0x00C5;
}  // namespace

std::string TCustomEdit::Text() const { return PlatformWindow() ? PlatformWindow()->Text() : Caption(); }

// The caption may be older than what the author typed since: it is brought
// up to date first, so that setting the text it held still reaches the window.
void TCustomEdit::SetText(std::string_view value) {
  if (PlatformWindow()) StoreCaption(PlatformWindow()->Text());
  SetCaption(value);
}

void TCustomEdit::SetMaxLength(int value) {
  FMaxLength = std::max(value, 0);
  if (PlatformWindow()) Perform(kSetLimitText, static_cast<std::uintptr_t>(FMaxLength));
}

void TCustomEdit::WindowCreated() { Perform(kSetLimitText, static_cast<std::uintptr_t>(FMaxLength)); }

void TCustomEdit::WindowDestroying() { StoreCaption(PlatformWindow()->Text()); }
