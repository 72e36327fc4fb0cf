#include "plugin/CommandList.h"

#include "plugin/Platform.h"

std::string CommandListText(const std::array<TCommandInfo, 2>& commands, bool lisp) {
  std::string text = lisp ? "(list " : "";
  for (std::size_t i = 0; i < commands.size(); ++i) {
    const std::string number = std::to_string(i + 1);
    const std::string count = std::to_string(commands[i].paramCount);
    if (lisp)
      text += "(list \"" + commands[i].name + "\" \"" + number + "\" " + count + ")";
    else
      text += commands[i].name + "|" + number + "|" + count + "\r\n";
  }
  if (lisp) text += ")";
  return text;
}

bool IsLispForm(std::string_view form) { return AnsiUpperCase(std::string(form)) == "LISP"; }

namespace {

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v < base ? v : -1;
}

}  // namespace

std::optional<std::int32_t> ParseCommandNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  const std::string_view rest = text.substr(i);
  if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
    base = 16;
    i += 1;
  } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return std::nullopt;
  // Decimal numbers reach 2^31 only as the negative limit; hexadecimal ones
  // take all 32 bits.
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i], base);
    if (digit < 0) return std::nullopt;
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    if (value > limit) return std::nullopt;
  }
  const auto bits = static_cast<std::uint32_t>(negative ? 0u - static_cast<std::uint32_t>(value)
                                                        : static_cast<std::uint32_t>(value));
  return static_cast<std::int32_t>(bits);
}
