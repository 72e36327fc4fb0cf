#include "diff/DiffReader.h"

#include <limits>
#include <string_view>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c); }

// Compared case-sensitively: "Sin" is an identifier, and "h" is always the
// step function, never a variable. Sorted by length, so that most
// identifiers are told apart by their length alone.
std::int32_t FunctionKindOf(std::string_view name) {
  auto is = [&](const char* f) { return name == f; };
  switch (name.size()) {
    case 1: return is("h") ? dkHeaviside : dkIdent;
    case 2:
      return is("tg") ? dkTg : is("ln") ? dkLn : is("sh") ? dkSh : is("ch") ? dkCh : is("th") ? dkTh : dkIdent;
    case 3:
      return is("cos") ? dkCos : is("sin") ? dkSin : is("ctg") ? dkCtg : is("abs") ? dkAbs
           : is("sgn") ? dkSgn : is("exp") ? dkExp : is("cth") ? dkCth : dkIdent;
    case 4: return is("sign") ? dkSgn : is("sqrt") ? dkSqrt : dkIdent;
    case 5: return is("arctg") ? dkArctg : dkIdent;
    case 6: return is("arcsin") ? dkArcsin : is("arccos") ? dkArccos : is("arcctg") ? dkArcctg : dkIdent;
    case 9: return is("heaviside") ? dkHeaviside : dkIdent;
    default: return dkIdent;
  }
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

}  // namespace

// number = digits [sep digits] [("e" | "E") ["+" | "-"] digits]
inline bool TDiffReader::ReadNumber() {
  auto digits = [this] {
    while (FPos < FLen && IsDigit(FText[FPos])) ++FPos;
  };
  auto digitFollows = [this] { return FPos < FLen && IsDigit(FText[FPos]); };
  digits();
  if (FPos >= FLen) return true;
  if (FText[FPos] == FSep) {
    ++FPos;
    if (!digitFollows()) return false;
    digits();
    if (FPos >= FLen) return true;
  }
  if (FText[FPos] == 'e' || FText[FPos] == 'E') {
    ++FPos;
    if (FPos < FLen && (FText[FPos] == '+' || FText[FPos] == '-')) ++FPos;
    if (!digitFollows()) return false;
    digits();
  }
  return true;
}

// Scans one token into FToken/FTokenOff/FTokenLen. At the end of the text
// the token is dkEnd and FKind keeps the kind of the last real token.
inline bool TDiffReader::NextToken() {
  while (FPos < FLen && FText[FPos] == ' ') ++FPos;
  FTokenOff = FPos;
  if (FPos < FLen) {  // the one-character tokens, most of a derivative text
    const std::int32_t single = kSingleCharKind[static_cast<unsigned char>(FText[FPos])];
    if (single) {
      ++FPos;
      FTokenLen = 1;
      FToken = FKind = single;
      return true;
    }
  }
  FTokenLen = 0;
  if (FPos >= FLen) {
    FToken = dkEnd;
    return true;
  }
  const char c = FText[FPos];
  std::int32_t kind;
  switch (c) {
    case '-':
      ++FPos;
      kind = dkDiff;
      // A negative literal only where a sign may stand: first token, or after "(".
      if (FPos < FLen && IsDigit(FText[FPos]) && (FKind == dkEnd || FKind == dkOpen)) {
        if (!ReadNumber()) return false;
        kind = dkNumber;
      }
      break;
    default:
      if (IsDigit(c)) {
        if (!ReadNumber()) return false;
        kind = dkNumber;
      } else if (IsIdentStart(c)) {
        while (FPos < FLen && IsIdentChar(FText[FPos])) ++FPos;
        kind = FunctionKindOf(std::string_view(FText + FTokenOff, FPos - FTokenOff));
      } else {
        return false;  // outside the token set
      }
  }
  FTokenLen = FPos - FTokenOff;
  FToken = kind;
  FKind = kind;
  return true;
}

inline int TDiffReader::NewNode(std::int32_t kind, std::int32_t left, std::int32_t right) {
  return FTable->New(kind, left, right, FSrc, 0, 0);
}

inline int TDiffReader::NewTokenNode(std::int32_t kind) {
  return FTable->New(kind, 0, 0, FSrc, static_cast<std::uint32_t>(FTokenOff),
                     static_cast<std::uint32_t>(FTokenLen));
}

// After a primary: any number of "^" exponents, left-associative. The
// exponent's number node comes directly before its power node.
bool TDiffReader::ReadExponents(int& node) {
  while (FToken == dkPower) {
    if (!NextToken()) return false;
    const bool bracketed = FToken == dkOpen;
    if (bracketed && !NextToken()) return false;
    if (FToken != dkNumber) return false;
    const int number = NewTokenNode(dkNumber);
    const int power = number ? NewNode(dkPower, node, number) : 0;
    if (!power) return false;
    if (bracketed && (!NextToken() || FToken != dkClose)) return false;
    if (!NextToken()) return false;
    node = power;
  }
  return true;
}

int TDiffReader::Read(TNodeTable& table, TTextSource src, const std::string& text, char sep) {
  if (text.size() >= std::numeric_limits<std::uint32_t>::max()) return 0;
  FTable = &table;
  FText = text.data();
  FLen = text.size();
  FPos = 0;
  FKind = dkEnd;
  FSrc = src;
  FSep = sep;
  if (FLevels.empty()) FLevels.resize(64);
  FLevels[0] = TLevel{};
  FTop = 0;

  // The three places the reading can be at: before a term (where a sign may
  // follow), before a primary, and after a primary (exponents, then the
  // operator that continues or the end of the level).
  enum { kBeforeTerm, kBeforePrimary, kAfterPrimary } state = kBeforeTerm;
  int node = 0;
  for (;;) {
    TLevel& level = FLevels[FTop];
    switch (state) {
      case kBeforeTerm:
        if (!NextToken()) return 0;
        if (level.Expr == 0) {
          if (FToken == dkDiff) {
            level.Negate = true;
            if (!NextToken()) return 0;
          }
          if (FToken == dkSum && !NextToken()) return 0;
        }
        state = kBeforePrimary;
        break;

      case kBeforePrimary:
        if (FToken == dkNumber || FToken == dkIdent) {
          node = NewTokenNode(FToken);
          if (!node) return 0;
          state = kAfterPrimary;
        } else if (FToken == dkOpen || IsFunctionKind(FToken)) {
          int func = 0;
          if (FToken != dkOpen) {  // function name: "(" must follow
            const std::int32_t kind = FToken;
            const std::size_t off = FTokenOff, len = FTokenLen;
            if (!NextToken() || FToken != dkOpen) return 0;
            func = FTable->New(kind, 0, 0, FSrc, static_cast<std::uint32_t>(off),
                               static_cast<std::uint32_t>(len));
            if (!func) return 0;
          }
          if (FTop + 1 >= static_cast<std::size_t>(kMaxNesting)) return 0;
          if (++FTop == FLevels.size()) FLevels.resize(2 * FTop);
          FLevels[FTop] = TLevel{0, 0, 0, 0, func, false};
          state = kBeforeTerm;
        } else {
          return 0;
        }
        break;

      case kAfterPrimary: {
        if (!NextToken() || !ReadExponents(node)) return 0;
        if (level.MulOp && !(node = NewNode(level.MulOp, level.Term, node))) return 0;
        level.Term = node;
        level.MulOp = 0;
        if (FToken == dkProd || FToken == dkQuot) {
          level.MulOp = FToken;
          if (!NextToken()) return 0;
          state = kBeforePrimary;
          break;
        }
        // The term is complete.
        int term = level.Term;
        level.Term = 0;
        if (level.Negate && !(term = NewNode(dkNeg, term))) return 0;
        level.Negate = false;
        if (level.AddOp && !(term = NewNode(level.AddOp, level.Expr, term))) return 0;
        level.Expr = term;
        level.AddOp = 0;
        if (FToken == dkSum || FToken == dkDiff) {
          level.AddOp = FToken;
          state = kBeforeTerm;
        } else if (FToken == dkEnd) {
          return FTop == 0 ? level.Expr : 0;  // else a "(" is missing its ")"
        } else if (FToken == dkClose) {
          if (FTop == 0) return 0;  // a ")" without "("
          const int expr = level.Expr, func = level.Func;
          --FTop;
          if (func) (*FTable)[func].Left = expr;
          node = func ? func : expr;
          state = kAfterPrimary;
        } else {
          return 0;
        }
        break;
      }
    }
  }
}
