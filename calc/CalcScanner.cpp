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
  const std::size_t n = FText.size();
  auto digits = [&] {
    if (i >= n || !IsDigit(FText[i])) SyntaxError(TReadFault::BadNumber, i);
    while (i < n && IsDigit(FText[i])) ++i;
  };
  digits();
  if (i < n && FText[i] == FSeparator) {
    ++i;
    digits();
  }
  if (i < n && (FText[i] == 'e' || FText[i] == 'E')) {
    ++i;
    if (i < n && (FText[i] == '+' || FText[i] == '-')) ++i;
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
  const std::size_t n = FText.size();
  token.text = {};
  while (FPos < n && FText[FPos] == ' ') ++FPos;
  if (FPos >= n) {
    token.kind = ckEnd;
    token.start = n;
    return;
  }
  const std::size_t start = FPos;
  const char c = FText[start];
  std::int32_t kind;
  switch (c) {
    case '(': kind = ckOpen; ++FPos; break;
    case ')': kind = ckClose; ++FPos; break;
    case '+': kind = ckAdd; ++FPos; break;
    case '*': kind = ckMul; ++FPos; break;
    case '/': kind = ckDiv; ++FPos; break;
    case '^': kind = ckPower; ++FPos; break;
    case '-':
      if (start + 1 < n && IsDigit(FText[start + 1]) && (FKind == ckEnd || FKind == ckOpen)) {
        kind = ckNumber;
        FPos = ReadNumber(start + 1);
      } else {
        kind = ckSub;
        ++FPos;
      }
      break;
    default:
      if (IsDigit(c)) {
        kind = ckNumber;
        FPos = ReadNumber(start);
      } else if (IsLetter(c)) {
        std::size_t i = start + 1;
        while (i < n && (IsLetter(FText[i]) || IsDigit(FText[i]))) ++i;
        FPos = i;
        const std::string_view word = FText.substr(start, i - start);
        TFunction function;
        if (FindFunctionName(word, function) & rsCalc) {
          kind = FunctionKind(function);
        } else {
          kind = ckVariable;
          token.position = FindName(word);
          if (token.position < 0 && FFirstUnknown == std::string_view::npos) FFirstUnknown = start;
        }
      } else {
        SyntaxError(TReadFault::UnexpectedCharacter, start);
      }
  }
  token.kind = kind;
  token.start = start;
  token.text = FText.substr(start, FPos - start);
  FPrevKind = FKind;
  FKind = kind;
}
