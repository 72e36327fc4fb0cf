#pragma once
// The token reader of the formula evaluator.
//
// token      = "(" | ")" | "+" | "-" | "*" | "/" | "^" | number | identifier
// number     = ["-"] digits [sep digits] [("e" | "E") ["+" | "-"] digits]
// identifier = letter {letter | digit}        letter = "a".."z" | "A".."Z" | "_"
//
// Only the space separates tokens. A "-" joins the number after it into one
// negative literal only when a digit follows at once and the token before
// is none or "(". An identifier that equals a function name (exactly) is
// that function (the calculator's names of formula/Functions.h); any other
// is a variable, resolved against the name list (first entry equal ignoring
// case, -1 when none). Every other character is a syntax error, as is a
// malformed number.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formula/Functions.h"
#include "formula/ReadFault.h"

// Token kinds, shared with the parser. A function's kind is FunctionKind(f).
enum TCalcKind : std::int32_t {
  ckEnd = 0, ckOpen = 1, ckClose = 2, ckAdd = 3, ckSub = 4, ckMul = 5, ckDiv = 6,
  ckNumber = 7, ckVariable = 8, ckNegate = 9,
  ckPower = 31,
};
static_assert(kFirstFunctionKind > ckNegate && kLastFunctionKind < ckPower, "function kinds overlap the others");

struct TCalcToken {
  std::int32_t kind = ckEnd;
  std::string_view text;  // number: the literal as written; function: its name
  std::int32_t position = -1;  // variable: its place in the name list
  std::size_t start = 0;  // where the token begins; the text's length at its end
};

// A syntax error, where and why; the parser turns it into a missing program.
struct ECalcSyntax {
  TReadFault Fault;
  std::size_t Position;
};

class TCalcScanner {
public:
  TCalcScanner(std::string_view text, const std::vector<std::string>& names, char separator)
      : FText(text), FNames(names), FSeparator(separator) {}

  // Reads the next token into token. At the end of the text the token is
  // ckEnd and the position and kind history stay as they are. Inline for the
  // one-character tokens, most of any formula; the others are read apart.
  void NextToken(TCalcToken& token) {
    std::size_t start = FPos;
    while (start < FText.size() && FText[start] == ' ') ++start;
    FPos = start;
    if (start >= FText.size()) {
      token.kind = ckEnd;
      token.text = {};
      token.start = start;
      return;
    }
    std::int32_t kind = kSingleCharKind[static_cast<unsigned char>(FText[start])];
    if (kind != ckEnd)
      ++FPos;
    else
      kind = ReadLongToken(start, token);
    token.kind = kind;
    token.start = start;
    token.text = FText.substr(start, FPos - start);
    FPrevKind = FKind;
    FKind = kind;
  }

  std::int32_t Kind() const { return FKind; }          // kind of the last token
  std::int32_t PrevKind() const { return FPrevKind; }  // kind of the one before
  // Where the first variable stands that the name list does not hold; npos when none.
  std::size_t FirstUnknownName() const { return FFirstUnknown; }

private:
  // The kind of each character that is a token by itself, ckEnd for the others.
  static constexpr auto kSingleCharKind = [] {
    std::array<std::int32_t, 256> kinds{};
    kinds['('] = ckOpen;
    kinds[')'] = ckClose;
    kinds['+'] = ckAdd;
    kinds['*'] = ckMul;
    kinds['/'] = ckDiv;
    kinds['^'] = ckPower;
    return kinds;
  }();

  std::int32_t ReadLongToken(std::size_t start, TCalcToken& token);
  std::size_t ReadNumber(std::size_t at) const;
  std::int32_t ReadName(std::size_t start, TCalcToken& token);
  std::int32_t FindName(std::string_view identifier) const;

  std::string_view FText;
  const std::vector<std::string>& FNames;
  char FSeparator;
  std::size_t FPos = 0;  // 0-based index of the next character
  std::int32_t FKind = ckEnd;
  std::int32_t FPrevKind = ckEnd;
  std::size_t FFirstUnknown = std::string_view::npos;
};
