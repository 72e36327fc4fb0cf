#pragma once
// The command list offered to callers that run the two commands by number,
// and the reading of a command number from text.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct TCommandInfo {
  std::string name;         // the action's name, empty before registration
  std::int32_t paramCount;  // 0 before registration
};

// LISP form:  (list (list "NAME" "1" COUNT)(list "NAME" "2" COUNT))
// line form:  NAME|1|COUNT CR LF NAME|2|COUNT CR LF
std::string CommandListText(const std::array<TCommandInfo, 2>& commands, bool lisp);

// True when the form name, upper-cased, is "LISP".
bool IsLispForm(std::string_view form);

// number = blanks [sign] ( digits | ("$" | "x" | "X" | "0x" | "0X") hexdigits )
// The digits must run to the end of the text, and the value fit 32 bits
// (hexadecimal up to FFFFFFFF, read as two's complement). Anything else
// gives no number.
std::optional<std::int32_t> ParseCommandNumber(std::string_view text);
