#include "calc/CalcParser.h"

#include <algorithm>

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

[[noreturn]] void SyntaxError(TReadFault fault, const TCalcToken& at) { throw ECalcSyntax{fault, at.start}; }

TCalcBinary BinaryOf(std::int32_t kind) {
  switch (kind) {
    case ckAdd: return TCalcBinary::Add;
    case ckSub: return TCalcBinary::Sub;
    case ckMul: return TCalcBinary::Mul;
    default: return TCalcBinary::Div;
  }
}

}  // namespace

bool TCalcParser::Parse(std::string_view text, const std::vector<std::string>& names, char separator,
                        TCalcProgram& program) {
  return Read(text, names, separator, program).Check.Fault == TReadFault::None;
}

TCalcRead TCalcParser::Read(std::string_view text, const std::vector<std::string>& names, char separator,
                            TCalcProgram& program) {
  program.Clear();
  // No more instructions than tokens: room for them at once, within reason.
  program.Reserve(std::min<std::size_t>(text.size() + 1, 4096));
  TCalcParser parser(text, names, separator, program);
  try {
    parser.ParseExpression(0);
  } catch (const ECalcSyntax& e) {
    program.Clear();
    return {{e.Fault, e.Position}, parser.FScanner.FirstUnknownName()};
  }
  program.Finish();
  return {{}, parser.FScanner.FirstUnknownName()};
}

void TCalcParser::ParseExpression(int nesting) {
  TCalcToken token;
  ParseTerm(token, nesting);
  for (;;) {
    switch (token.kind) {
      case ckEnd:  // an unclosed "(" when nested
        if (nesting > 0) SyntaxError(TReadFault::CloseExpected, token);
        return;
      case ckClose:  // a ")" without its "(" when at the top
        if (nesting == 0) SyntaxError(TReadFault::CloseWithoutOpen, token);
        return;
      case ckAdd:
      case ckSub: {
        const TCalcBinary op = BinaryOf(token.kind);
        ParseTerm(token, nesting);
        FProgram.Binary(op);
        break;
      }
      default:  // two operands in a row: 2x, 2 3, sin(x)(y)
        SyntaxError(TReadFault::OperatorExpected, token);
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
    const TCalcBinary op = BinaryOf(token.kind);
    FScanner.NextToken(token);
    ParseFactor(token, nesting);
    FProgram.Binary(op);
  }
  if (negate) FProgram.Negate();
}

void TCalcParser::ParseFactor(TCalcToken& token, int nesting) {
  if (token.kind == ckOpen) {
    ParseBracketed(token, nesting);
  } else if (token.kind == ckNumber || token.kind == ckVariable) {
    PushLeaf(token);
  } else if (IsFunctionKind(token.kind)) {
    const TFunction function = FunctionOfKind(token.kind);
    FScanner.NextToken(token);
    if (token.kind != ckOpen) SyntaxError(TReadFault::OpenExpected, token);
    ParseBracketed(token, nesting);
    FProgram.Function(function);
  } else {
    SyntaxError(TReadFault::OperandMissing, token);
  }
  FScanner.NextToken(token);
  while (token.kind == ckPower) {
    FScanner.NextToken(token);
    const bool bracket = token.kind == ckOpen;
    if (bracket) FScanner.NextToken(token);
    if (token.kind != ckNumber && token.kind != ckVariable) SyntaxError(TReadFault::OperandMissing, token);
    PushLeaf(token);
    FProgram.Power();
    if (bracket) {
      FScanner.NextToken(token);
      if (token.kind != ckClose) SyntaxError(TReadFault::CloseExpected, token);
    }
    FScanner.NextToken(token);
  }
}

// The part after "(" (the token open) up to and including its ")".
void TCalcParser::ParseBracketed(const TCalcToken& open, int nesting) {
  if (nesting >= kMaxNesting) SyntaxError(TReadFault::TooDeep, open);
  ParseExpression(nesting + 1);
}

void TCalcParser::PushLeaf(const TCalcToken& token) {
  if (token.kind == ckVariable) return FProgram.PushVariable(token.position);
  for (const TConverted& converted : FConverted)
    if (SameText(converted.text, token.text)) return FProgram.PushNumber(converted.value);
  if (const auto value = FProgram.PushNumber(token.text))
    FConverted[FNextConverted++ % FConverted.size()] = {token.text, *value};
}
