#pragma once
// Why a reader refuses a formula, and where: the first place in the text it
// cannot go on from. Each reader finds this as it reads; CheckCalcFormula
// (calc/CalcCheck.h) and CheckDiffFormula (diff/DiffCheck.h) read a formula
// exactly as their action does and report it.

#include <cstddef>
#include <string_view>

enum class TReadFault {
  None,
  UnexpectedCharacter,  // a character outside the token set
  OperandMissing,       // a number, name, function or "(" was expected (after "^": the exponent's kind)
  CloseExpected,        // a ")" was expected: a bracket is open, or an exponent in brackets goes on
  CloseWithoutOpen,     // a ")" that no "(" opened
  UnknownName,          // a name before "(" that is no function of either reader
  CalcOnlyName,         // a name before "(" that only the calculator knows as a function
  DiffOnlyName,         // one that only the differentiator knows
  NoVariables,          // a name that is no function where no variables are defined
  BadNumber,            // a malformed number: a digit was expected
  TooDeep,              // brackets nested beyond the reader's limit
  OpenExpected,         // a function name without its "("
  OperatorExpected,     // two operands in a row
  TooLong,              // the formula needs more nodes than the reader holds
};

struct TReadCheck {
  TReadFault Fault = TReadFault::None;
  // The byte offset of the first character the reader cannot take, or the
  // text's length when it ends too early.
  std::size_t Position = 0;
};

// A refusal of the "(" after a name (two operands in a row) names the real
// reason: the name is a function only for the other reader, or for none.
// self is the reader's own set (TReaderSet); the name is looked up as
// written and, for the calculator, in lower case.
TReadCheck NameBeforeBracket(std::string_view text, TReadCheck check, unsigned self);
