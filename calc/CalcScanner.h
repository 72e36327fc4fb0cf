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
// that function; any other is a variable, resolved against the name list
// (first entry equal ignoring case, -1 when none). Every other character is
// a syntax error, as is a malformed number ("Wrong number.").

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Token and node kinds, shared with the parser and the program.
enum TCalcKind : std::int32_t {
  ckEnd = 0, ckOpen = 1, ckClose = 2, ckAdd = 3, ckSub = 4, ckMul = 5, ckDiv = 6,
  ckNumber = 7, ckVariable = 8, ckNegate = 9,
  ckCos = 10, ckSin, ckTg, ckCtg, ckAbs, ckSgn, ckSqrt, ckLn, ckExp, ckArcsin, ckArccos,
  ckArctg, ckArcctg, ckSh, ckCh, ckTh, ckCth, ckHeaviside = 27,
  ckPower = 31,
};

inline bool IsFunctionKind(std::int32_t kind) { return kind >= ckCos && kind <= ckHeaviside; }

struct TCalcToken {
  std::int32_t kind = ckEnd;
  std::string_view text;  // number: the literal as written; function: its name
  std::int32_t position = -1;  // variable: its place in the name list
};

// A syntax error; the parser turns it into a missing program.
struct ECalcSyntax {
  const char* message;
};

class TCalcScanner {
public:
  TCalcScanner(std::string_view text, const std::vector<std::string>& names, char separator)
      : FText(text), FNames(names), FSeparator(separator) {}

  // Reads the next token into token. At the end of the text the token is
  // ckEnd and the position and kind history stay as they are.
  void NextToken(TCalcToken& token);

  std::int32_t Kind() const { return FKind; }          // kind of the last token
  std::int32_t PrevKind() const { return FPrevKind; }  // kind of the one before

private:
  std::size_t ReadNumber(std::size_t at) const;
  std::int32_t FindName(std::string_view identifier) const;

  std::string_view FText;
  const std::vector<std::string>& FNames;
  char FSeparator;
  std::size_t FPos = 0;  // 0-based index of the next character
  std::int32_t FKind = ckEnd;
  std::int32_t FPrevKind = ckEnd;
};
