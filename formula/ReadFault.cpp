#include "formula/ReadFault.h"

#include <string>

#include "formula/Functions.h"

namespace {

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string LowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  return lower;
}

// The readers that know name as a function: the calculator reads it in
// lower case, the differentiator as written.
unsigned ReadersOf(std::string_view name) {
  TFunction f;
  const unsigned asWritten = FindFunctionName(name, f);
  const unsigned lowered = FindFunctionName(LowerCase(name), f);
  return (asWritten & rsDiff) | (lowered & rsCalc);
}

}  // namespace

TReadCheck NameBeforeBracket(std::string_view text, TReadCheck check, unsigned self) {
  if (check.Fault != TReadFault::OperatorExpected || check.Position >= text.size() || text[check.Position] != '(')
    return check;
  std::size_t end = check.Position;
  while (end > 0 && text[end - 1] == ' ') --end;
  std::size_t start = end;
  while (start > 0 && IsNameChar(text[start - 1])) --start;
  // A name starts with a letter; digits before "(" are a number.
  if (start == end || (text[start] >= '0' && text[start] <= '9')) return check;
  const unsigned readers = ReadersOf(text.substr(start, end - start));
  if (readers & self) return check;  // cannot happen: the reader would have taken it
  const TReadFault fault = readers == 0           ? TReadFault::UnknownName
                           : (readers & rsCalc)   ? TReadFault::CalcOnlyName
                                                  : TReadFault::DiffOnlyName;
  return {fault, start};
}
