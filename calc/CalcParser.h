#pragma once
// The formula reader: turns a (lower-cased) formula into a flat program.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "calc/CalcProgram.h"
#include "calc/CalcScanner.h"

// A reading's outcome: the syntax error's fault and place, and where the
// first variable stands that the name list does not hold (npos when none).
struct TCalcRead {
  TReadCheck Check;
  std::size_t FirstUnknownName;
};

class TCalcParser {
public:
  // Brackets and function calls nest at most this deep; deeper is a syntax error.
  static constexpr int kMaxNesting = 256;

  // Reads text into program, resolving variables against names. Returns
  // false, with the program cleared, for a syntax error. Literals are
  // converted here, so the caller holds the floating-point guard.
  static bool Parse(std::string_view text, const std::vector<std::string>& names, char separator,
                    TCalcProgram& program);
  // The same, telling where and why a reading failed.
  static TCalcRead Read(std::string_view text, const std::vector<std::string>& names, char separator,
                        TCalcProgram& program);

private:
  TCalcParser(std::string_view text, const std::vector<std::string>& names, char separator, TCalcProgram& program)
      : FScanner(text, names, separator), FProgram(program) {}

  void ParseExpression(int nesting);
  void ParseTerm(TCalcToken& token, int nesting);
  void ParseFactor(TCalcToken& token, int nesting);
  void ParseBracketed(const TCalcToken& open, int nesting);
  void PushLeaf(const TCalcToken& token);

  TCalcScanner FScanner;
  TCalcProgram& FProgram;
  // The last few literals that converted, with their values: the action
  // writes its variables into the formula as literals, so the same text
  // comes again and again, between others.
  struct TConverted {
    std::string_view text;
    long double value;
  };
  std::array<TConverted, 8> FConverted{};
  unsigned FNextConverted = 0;
};
