#include "calc/CalcScanner.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

[[noreturn]] void SyntaxError(TReadFault fault, std::size_t position) { throw ECalcSyntax{fault, position}; }

}  // namespace

// digits [sep digits] [("e" | "E") ["+" | "-"] digits], entered at a digit;
// returns the index just past the number.
std::size_t TCalcScanner::ReadNumber(std::size_t i) const {
  const char* const text = FText.data();
  const std::size_t n = FText.size();
  auto digits = [&] {
    if (i >= n || !IsDigit(text[i])) SyntaxError(TReadFault::BadNumber, i);
    do ++i;
    while (i < n && IsDigit(text[i]));
  };
  digits();
  if (i < n && text[i] == FSeparator) {
    ++i;
    digits();
  }
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    digits();
  }
  return i;
}

std::int32_t TCalcScanner::FindName(std::string_view identifier) const {
  for (std::size_t i = 0; i < FNames.size(); ++i)
    if (EqualIgnoringCase(FNames[i], identifier)) return static_cast<std::int32_t>(i);
  return -1;
}

// A number, a minus or a name, from start, which is not a space.
std::int32_t TCalcScanner::ReadLongToken(std::size_t start, TCalcToken& token) {
  const char c = FText[start];
  if (c == '-') {
    const bool literal = start + 1 < FText.size() && IsDigit(FText[start + 1]) && (FKind == ckEnd || FKind == ckOpen);
    FPos = literal ? ReadNumber(start + 1) : start + 1;
    return literal ? ckNumber : ckSub;
  }
  if (IsDigit(c)) {
    FPos = ReadNumber(start);
    return ckNumber;
  }
  if (IsLetter(c)) return ReadName(start, token);
  SyntaxError(TReadFault::UnexpectedCharacter, start);
}

// A name from start: a function's kind, or a variable with its place in
// the name list.
std::int32_t TCalcScanner::ReadName(std::size_t start, TCalcToken& token) {
  const char* const text = FText.data();
  std::size_t i = start + 1;
  while (i < FText.size() && (IsLetter(text[i]) || IsDigit(text[i]))) ++i;
  FPos = i;
  const std::string_view word(text + start, i - start);
  TFunction function;
  if (FindFunctionName(word, function) & rsCalc) return FunctionKind(function);
  token.position = FindName(word);
  if (token.position < 0 && FFirstUnknown == std::string_view::npos) FFirstUnknown = start;
  return ckVariable;
}
