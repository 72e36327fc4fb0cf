#include "calc/CalcScanner.h"

#include <array>

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

// The kind of each character that is a token by itself, ckEnd for the others.
constexpr auto kSingleCharKind = [] {
  std::array<std::int32_t, 256> kinds{};
  kinds['('] = ckOpen;
  kinds[')'] = ckClose;
  kinds['+'] = ckAdd;
  kinds['*'] = ckMul;
  kinds['/'] = ckDiv;
  kinds['^'] = ckPower;
  return kinds;
}();

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

void TCalcScanner::NextToken(TCalcToken& token) {
  const char* const text = FText.data();
  const std::size_t n = FText.size();
  std::size_t start = FPos;
  while (start < n && text[start] == ' ') ++start;
  FPos = start;
  if (start >= n) {
    token.kind = ckEnd;
    token.text = {};
    token.start = n;
    return;
  }
  const char c = text[start];
  std::int32_t kind = kSingleCharKind[static_cast<unsigned char>(c)];
  if (kind != ckEnd) {
    ++FPos;
  } else if (c == '-') {
    const bool literal = start + 1 < n && IsDigit(text[start + 1]) && (FKind == ckEnd || FKind == ckOpen);
    kind = literal ? ckNumber : ckSub;
    FPos = literal ? ReadNumber(start + 1) : start + 1;
  } else if (IsDigit(c)) {
    kind = ckNumber;
    FPos = ReadNumber(start);
  } else if (IsLetter(c)) {
    kind = ReadName(start, token);
  } else {
    SyntaxError(TReadFault::UnexpectedCharacter, start);
  }
  token.kind = kind;
  token.start = start;
  token.text = std::string_view(text + start, FPos - start);
  FPrevKind = FKind;
  FKind = kind;
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
