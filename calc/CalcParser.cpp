#include "calc/CalcParser.h"

// expression = term {("+" | "-") term}               ends at ")" when bracketed,
//                                                    at the end of the text otherwise
// term       = [sign] factor {("*" | "/") factor}    sign only on the first term
//                                                    of an expression
// sign       = "-" ["+"] | "+"                       the minus negates the whole term
// factor     = primary {"^" exponent}                grouped from the left
// primary    = "(" expression ")" | number | variable | function "(" expression ")"
// exponent   = leaf | "(" leaf ")"                   leaf = number | variable
//
// So "^" binds tighter than a leading minus and than "*" and "/"; -x^2 is
// -(x^2), while -2^2 is (-2)^2 because "-2" at the start of an expression is
// one literal. A sign after an operator (2*-3, 2--3, +-2) is an error.
//
// Operator chains are read in loops; only brackets and function arguments
// recurse, at most kMaxNesting deep.

namespace {
[[noreturn]] void SyntaxError() { throw ECalcSyntax{""}; }
}  // namespace

bool TCalcParser::Parse(std::string_view text, const std::vector<std::string>& names, char separator,
                        TCalcProgram& program) {
  program.Clear();
  try {
    TCalcParser parser(text, names, separator, program);
    parser.ParseExpression(0);
  } catch (const ECalcSyntax&) {
    program.Clear();
    return false;
  }
  program.Finish();
  return true;
}

void TCalcParser::ParseExpression(int nesting) {
  TCalcToken token;
  ParseTerm(token, nesting);
  for (;;) {
    switch (token.kind) {
      case ckEnd:  // an unclosed "(" when nested
        if (nesting > 0) SyntaxError();
        return;
      case ckClose:  // a ")" without its "(" when at the top
        if (nesting == 0) SyntaxError();
        return;
      case ckAdd:
      case ckSub: {
        const std::int32_t op = token.kind;
        ParseTerm(token, nesting);
        FProgram.Binary(op);
        break;
      }
      default:  // two operands in a row: 2x, 2 3, sin(x)(y)
        SyntaxError();
    }
  }
}

void TCalcParser::ParseTerm(TCalcToken& token, int nesting) {
  FScanner.NextToken(token);
  bool negate = false;
  // The token just read is the first of the text or follows "(".
  if (FScanner.PrevKind() == ckEnd || FScanner.PrevKind() == ckOpen) {
    if (token.kind == ckSub) {
      negate = true;
      FScanner.NextToken(token);
    }
    if (token.kind == ckAdd) FScanner.NextToken(token);
  }
  ParseFactor(token, nesting);
  while (token.kind == ckMul || token.kind == ckDiv) {
    const std::int32_t op = token.kind;
    FScanner.NextToken(token);
    ParseFactor(token, nesting);
    FProgram.Binary(op);
  }
  if (negate) FProgram.Unary(ckNegate);
}

void TCalcParser::ParseFactor(TCalcToken& token, int nesting) {
  if (token.kind == ckOpen) {
    ParseBracketed(nesting);
  } else if (token.kind == ckNumber || token.kind == ckVariable) {
    PushLeaf(token);
  } else if (IsFunctionKind(token.kind)) {
    const std::int32_t function = token.kind;
    FScanner.NextToken(token);
    if (token.kind != ckOpen) SyntaxError();
    ParseBracketed(nesting);
    FProgram.Unary(function);
  } else {
    SyntaxError();  // an operand is missing
  }
  FScanner.NextToken(token);
  while (token.kind == ckPower) {
    FScanner.NextToken(token);
    const bool bracket = token.kind == ckOpen;
    if (bracket) FScanner.NextToken(token);
    if (token.kind != ckNumber && token.kind != ckVariable) SyntaxError();
    PushLeaf(token);
    FProgram.Power();
    if (bracket) {
      FScanner.NextToken(token);
      if (token.kind != ckClose) SyntaxError();
    }
    FScanner.NextToken(token);
  }
}

// The part after "(" up to and including its ")".
void TCalcParser::ParseBracketed(int nesting) {
  if (nesting >= kMaxNesting) SyntaxError();
  ParseExpression(nesting + 1);
}

void TCalcParser::PushLeaf(const TCalcToken& token) {
  if (token.kind == ckNumber)
    FProgram.PushNumber(token.text);
  else
    FProgram.PushVariable(token.position);
}
