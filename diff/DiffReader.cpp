#include "diff/DiffReader.h"

#include <limits>
#include <string_view>

#include "formula/Functions.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c); }

// Compared case-sensitively: "Sin" is an identifier, and "h" is always the
// step function, never a variable.
std::int32_t FunctionKindOf(std::string_view name) {
  TFunction function;
  return (FindFunctionName(name, function) & rsDiff) ? FunctionKind(function) : dkIdent;
}

// The kind of each character that is a token by itself, 0 for the others.
constexpr auto kSingleCharKind = [] {
  struct {
    std::uint8_t Kind[256] = {};
    constexpr std::int32_t operator[](unsigned char c) const { return Kind[c]; }
  } table;
  table.Kind[static_cast<unsigned char>('(')] = dkOpen;
  table.Kind[static_cast<unsigned char>(')')] = dkClose;
  table.Kind[static_cast<unsigned char>('+')] = dkSum;
  table.Kind[static_cast<unsigned char>('*')] = dkProd;
  table.Kind[static_cast<unsigned char>('/')] = dkQuot;
  table.Kind[static_cast<unsigned char>('^')] = dkPower;
  return table;
}();

// The scanner: the text, the read position and the current token. It lives
// in locals of one reading, so that the compiler can keep it in registers.
struct TScanner {
  const char* Text;
  std::size_t Len;
  char Sep;
  std::size_t Pos = 0;         // next character
  std::int32_t Kind = dkEnd;   // kind of the last token (dkEnd before the first)
  std::int32_t Token = dkEnd;  // current token: kind and text
  std::size_t TokenOff = 0, TokenLen = 0;
  TReadFault Fault = TReadFault::None;  // why Next last failed, at Pos

  bool DigitFollows() const { return Pos < Len && IsDigit(Text[Pos]); }
  void SkipDigits() {
    while (Pos < Len && IsDigit(Text[Pos])) ++Pos;
  }

  // number = digits [sep digits] [("e" | "E") ["+" | "-"] digits]
  __attribute__((always_inline)) bool ReadNumber() {
    SkipDigits();
    if (Pos >= Len) return true;
    if (Text[Pos] == Sep) {
      ++Pos;
      if (!DigitFollows()) return false;
      SkipDigits();
      if (Pos >= Len) return true;
    }
    if (Text[Pos] == 'e' || Text[Pos] == 'E') {
      ++Pos;
      if (Pos < Len && (Text[Pos] == '+' || Text[Pos] == '-')) ++Pos;
      if (!DigitFollows()) return false;
      SkipDigits();
    }
    return true;
  }

  // Scans one token. At the end of the text the token is dkEnd and Kind
  // keeps the kind of the last real token. False for a character outside
  // the token set or a malformed number.
  __attribute__((always_inline)) bool Next() {
    while (Pos < Len && Text[Pos] == ' ') ++Pos;
    TokenOff = Pos;
    if (Pos >= Len) {
      Token = dkEnd;
      TokenLen = 0;
      return true;
    }
    const char c = Text[Pos];
    std::int32_t kind = kSingleCharKind[static_cast<unsigned char>(c)];
    if (kind) {
      ++Pos;
    } else if (c == '-') {
      ++Pos;
      kind = dkDiff;
      // A negative literal only where a sign may stand: first token, or after "(".
      if (DigitFollows() && (Kind == dkEnd || Kind == dkOpen)) {
        if (!ReadNumber()) return BadNumber();
        kind = dkNumber;
      }
    } else if (IsDigit(c)) {
      if (!ReadNumber()) return BadNumber();
      kind = dkNumber;
    } else if (IsIdentStart(c)) {
      while (Pos < Len && IsIdentChar(Text[Pos])) ++Pos;
      kind = FunctionKindOf(std::string_view(Text + TokenOff, Pos - TokenOff));
    } else {
      Fault = TReadFault::UnexpectedCharacter;
      return false;
    }
    TokenLen = Pos - TokenOff;
    Token = Kind = kind;
    return true;
  }

  bool BadNumber() {
    Fault = TReadFault::BadNumber;
    return false;
  }

  // Right after "(": whether a number or identifier follows that is closed
  // at once by ")", the commonest group of a fully bracketed text. If so, it is
  // the current token, with the ")" next; if not, nothing has moved.
  __attribute__((always_inline)) bool BracketedLeaf() {
    if (Pos >= Len) return false;
    const char c = Text[Pos];
    if (!IsIdentChar(c) && c != '-') return false;
    const std::size_t pos = Pos, off = TokenOff, len = TokenLen;
    const std::int32_t kind = Kind, token = Token;
    if (Next() && (Token == dkNumber || Token == dkIdent) && Pos < Len && Text[Pos] == ')') return true;
    Pos = pos;
    TokenOff = off;
    TokenLen = len;
    Kind = kind;
    Token = token;
    return false;
  }
};

}  // namespace

// One reading: the scanner, the open levels and the node being built. Its
// steps are the three places the reading can be at: before a term (where a
// sign may follow), before a primary, and after a primary (exponents, then
// the operator that continues or the end of the level).
#define INLINE inline __attribute__((always_inline))

class TDiffReader::TReading {
public:
  enum TStep { kBeforeTerm, kBeforePrimary, kAfterPrimary, kDone };

  TReading(TDiffReader& reader, TNodeTable& table, TTextSource src, const std::string& text, char sep)
      : FLevels(reader.FLevels), FFault(reader.FFault), FTable(table), FSrc(src),
        FScan{text.data(), text.size(), sep}, FTop(&FLevels.Top()) {}

  // All steps are inlined into Read, so that the scanner's state can stay
  // in registers, as it would in one function.
  INLINE TStep BeforeTerm();
  INLINE TStep BeforePrimary();
  INLINE TStep AfterPrimary();
  int Root() const { return FRoot; }

private:
  INLINE TStep OpenLevel();
  INLINE TStep EndTerm(TLevel& level);
  INLINE TStep CloseLevel();
  INLINE bool ReadExponents();

  int NewNode(std::int32_t kind, int left = 0, int right = 0) { return FTable.New(kind, left, right, FSrc, 0, 0); }
  int NewTokenNode(std::int32_t kind) {
    return FTable.New(kind, 0, 0, FSrc, static_cast<std::uint32_t>(FScan.TokenOff),
                      static_cast<std::uint32_t>(FScan.TokenLen));
  }
  __attribute__((noinline, cold)) bool Refuse(TReadFault fault, std::size_t position) {
    FFault = {fault, position};
    return false;
  }
  bool RefuseHere(TReadFault fault) { return Refuse(fault, FScan.TokenOff); }
  bool ScanFailed() { return Refuse(FScan.Fault, FScan.Pos); }
  INLINE bool Next() { return FScan.Next() || ScanFailed(); }
  bool NestingFits(std::size_t open) {
    return FLevels.Size() <= static_cast<std::size_t>(kMaxNesting) || Refuse(TReadFault::TooDeep, open);
  }

  TSmallStack<TLevel, 32>& FLevels;
  TReadCheck& FFault;
  TNodeTable& FTable;
  TTextSource FSrc;
  TScanner FScan;
  TLevel* FTop;   // the innermost level
  int FNode = 0;  // the primary just read
  int FRoot = 0;
};

TDiffReader::TReading::TStep TDiffReader::TReading::BeforeTerm() {
  if (!Next()) return kDone;
  if (FTop->Expr == 0) {
    if (FScan.Token == dkDiff) {
      FTop->Negate = true;
      if (!Next()) return kDone;
    }
    if (FScan.Token == dkSum && !Next()) return kDone;
  }
  return kBeforePrimary;
}

TDiffReader::TReading::TStep TDiffReader::TReading::BeforePrimary() {
  if (FScan.Token == dkNumber || FScan.Token == dkIdent) {
    FNode = NewTokenNode(FScan.Token);
    return FNode || RefuseHere(TReadFault::TooLong) ? kAfterPrimary : kDone;
  }
  if (FScan.Token != dkOpen && !IsFunctionKind(FScan.Token)) return RefuseHere(TReadFault::OperandMissing), kDone;
  const std::size_t open = FScan.TokenOff;
  if (FScan.Token == dkOpen && FScan.BracketedLeaf()) {
    // "(" number-or-identifier ")": that primary, without a level of its
    // own, but a bracket all the same for the nesting limit.
    if (!NestingFits(open)) return kDone;
    FNode = NewTokenNode(FScan.Token);
    if (!FNode) return RefuseHere(TReadFault::TooLong), kDone;
    ++FScan.Pos;
    FScan.Kind = dkClose;
    return kAfterPrimary;
  }
  return OpenLevel();
}

// A "(" or a function name with its "(".
TDiffReader::TReading::TStep TDiffReader::TReading::OpenLevel() {
  TLevel opened{0, 0, 0, 0, 0, 0, 0, false};
  if (FScan.Token != dkOpen) {  // function name: "(" must follow
    opened.Func = FScan.Token;
    opened.FuncOff = static_cast<std::uint32_t>(FScan.TokenOff);
    opened.FuncLen = static_cast<std::uint32_t>(FScan.TokenLen);
    if (!Next()) return kDone;
    if (FScan.Token != dkOpen) return RefuseHere(TReadFault::OpenExpected), kDone;
  }
  if (!NestingFits(FScan.TokenOff)) return kDone;
  FLevels.Push(opened);
  FTop = &FLevels.Top();
  return kBeforeTerm;
}

TDiffReader::TReading::TStep TDiffReader::TReading::AfterPrimary() {
  TLevel& level = *FTop;
  if (!Next() || !ReadExponents()) return kDone;
  if (level.MulOp && !(FNode = NewNode(level.MulOp, level.Term, FNode))) return RefuseHere(TReadFault::TooLong), kDone;
  level.Term = FNode;
  level.MulOp = 0;
  if (FScan.Token == dkProd || FScan.Token == dkQuot) {
    level.MulOp = FScan.Token;
    return Next() ? kBeforePrimary : kDone;
  }
  return EndTerm(level);
}

// After a primary: any number of "^" exponents, left-associative. The
// exponent's number node comes directly before its power node.
bool TDiffReader::TReading::ReadExponents() {
  while (FScan.Token == dkPower) {
    if (!Next()) return false;
    const bool bracketed = FScan.Token == dkOpen;
    if (bracketed && !Next()) return false;
    if (FScan.Token != dkNumber) return RefuseHere(TReadFault::OperandMissing);
    const int number = NewTokenNode(dkNumber);
    const int power = number ? NewNode(dkPower, FNode, number) : 0;
    if (!power) return RefuseHere(TReadFault::TooLong);
    if (bracketed && !Next()) return false;
    if (bracketed && FScan.Token != dkClose) return RefuseHere(TReadFault::CloseExpected);
    if (!Next()) return false;
    FNode = power;
  }
  return true;
}

// The term is complete: its sign, then the sum, then what ends it.
TDiffReader::TReading::TStep TDiffReader::TReading::EndTerm(TLevel& level) {
  int term = level.Term;
  level.Term = 0;
  if (level.Negate && !(term = NewNode(dkNeg, term))) return RefuseHere(TReadFault::TooLong), kDone;
  level.Negate = false;
  if (level.AddOp && !(term = NewNode(level.AddOp, level.Expr, term))) return RefuseHere(TReadFault::TooLong), kDone;
  level.Expr = term;
  level.AddOp = 0;
  switch (FScan.Token) {
    case dkSum:
    case dkDiff: level.AddOp = FScan.Token; return kBeforeTerm;
    case dkEnd:
      if (FLevels.Size() == 1) FRoot = level.Expr;
      else RefuseHere(TReadFault::CloseExpected);
      return kDone;
    case dkClose: return CloseLevel();
    default: return RefuseHere(TReadFault::OperatorExpected), kDone;
  }
}

TDiffReader::TReading::TStep TDiffReader::TReading::CloseLevel() {
  if (FLevels.Size() == 1) return RefuseHere(TReadFault::CloseWithoutOpen), kDone;
  // Field by field: a copy of the whole entry would wait for the stores
  // that just wrote its fields.
  const TLevel& closed = *FTop;
  const std::int32_t func = closed.Func, expr = closed.Expr;
  const std::uint32_t funcOff = closed.FuncOff, funcLen = closed.FuncLen;
  FLevels.Pop();
  FTop = &FLevels.Top();
  FNode = func ? FTable.New(func, expr, 0, FSrc, funcOff, funcLen) : expr;
  return FNode || RefuseHere(TReadFault::TooLong) ? kAfterPrimary : kDone;
}

#undef INLINE

bool TDiffReader::IsNumberToken(std::string_view text, char sep) {
  TScanner scan{text.data(), text.size(), sep};
  return scan.Next() && scan.Token == dkNumber && scan.Pos == text.size();
}

int TDiffReader::Read(TNodeTable& table, TTextSource src, const std::string& text, char sep) {
  FFault = {};
  if (text.size() >= std::numeric_limits<std::uint32_t>::max()) {
    FFault = {TReadFault::TooLong, 0};
    return 0;
  }
  FLevels.Clear();
  FLevels.Push(TLevel{});
  TReading reading(*this, table, src, text, sep);
  for (TReading::TStep step = TReading::kBeforeTerm; step != TReading::kDone;) {
    switch (step) {
      case TReading::kBeforeTerm: step = reading.BeforeTerm(); break;
      case TReading::kBeforePrimary: step = reading.BeforePrimary(); break;
      default: step = reading.AfterPrimary(); break;
    }
  }
  return reading.Root();
}
