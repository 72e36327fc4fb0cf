#include "ui/CustomEdit.h"

#include <algorithm>

namespace {
// The standard edit's own message; with 0 it takes as much as memory holds
// (its default would stop typing at about 30,000 characters).
constexpr unsigned kSetLimitText = 0x00C5;
}  // namespace

void TCustomEdit::SetMaxLength(int value) {
  FMaxLength = std::max(value, 0);
  if (Window()) Perform(kSetLimitText, static_cast<std::uintptr_t>(FMaxLength));
}

void TCustomEdit::WindowCreated() { Perform(kSetLimitText, static_cast<std::uintptr_t>(FMaxLength)); }
