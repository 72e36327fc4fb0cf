#pragma once
// The reader of the differentiator: formula text into nodes of the table.
//
//   expression = term { ("+" | "-") term }
//   term       = [sign] factor { ("*" | "/") factor }
//   factor     = primary { "^" exponent }
//   primary    = "(" expression ")" | number | identifier | function "(" expression ")"
//   exponent   = number | "(" number ")"
//
// A sign ("-", "+" or "-+") may open only the first term of the text or of a
// bracket; a "-" there makes the whole term the operand of one negation. A
// "-" directly followed by a digit, as the first token of the text or right
// after "(", is part of a negative number literal. Only the space separates
// tokens; any character outside the token set is an error.
//
// Every node is allocated after its operands, so that the nodes of a
// reading lie in post-order: the left operand's nodes, the right
// operand's, then the node itself. Simplification relies on this.
//
// The grammar is read without recursion: each open bracket is one entry of
// an explicit stack, so neither the nesting of the text nor the length of an
// operator chain can exhaust the machine stack. Brackets (a function's
// included) may nest kMaxNesting deep; one more is a syntax error, whatever
// the innermost bracket holds. Derivative texts of trees that fit the node
// table stay well below the limit.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "diff/DiffStack.h"
#include "diff/DiffTree.h"
#include "formula/ReadFault.h"

class TDiffReader {
public:
  static constexpr int kMaxNesting = 20000;

  // Reads text into table (appending to what is there), with sep as the
  // decimal separator. Returns the root, or 0 after any error: a syntax
  // error, a malformed number, unpaired brackets or a full table.
  int Read(TNodeTable& table, TTextSource src, const std::string& text, char sep);
  // Whether text is exactly one number token where a sign may stand (first
  // in the text or after "("), a negative literal included.
  static bool IsNumberToken(std::string_view text, char sep);
  // Why and where the last Read refused its text; Fault None after a success.
  const TReadCheck& LastFault() const { return FFault; }

private:
  class TReading;

  // One open level: the top of the text, a bracket or a function argument.
  struct TLevel {
    std::int32_t Expr;    // sum so far, 0 before the first term
    std::int32_t Term;    // product so far, 0 before the first factor
    std::int32_t AddOp;   // pending "+" or "-" before the current term
    std::int32_t MulOp;   // pending "*" or "/" before the current factor
    std::int32_t Func;    // the function this level is the argument of, 0 = none
    std::uint32_t FuncOff, FuncLen;  // and its name in the text
    bool Negate;          // the current term carries a leading "-"
  };

  TSmallStack<TLevel, 32> FLevels;
  TReadCheck FFault;
};
