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
        if (!ReadNumber()) return false;
        kind = dkNumber;
      }
    } else if (IsDigit(c)) {
      if (!ReadNumber()) return false;
      kind = dkNumber;
    } else if (IsIdentStart(c)) {
      while (Pos < Len && IsIdentChar(Text[Pos])) ++Pos;
      kind = FunctionKindOf(std::string_view(Text + TokenOff, Pos - TokenOff));
    } else {
      return false;  // outside the token set
    }
    TokenLen = Pos - TokenOff;
    Token = Kind = kind;
    return true;
  }

  // Right after "(": whether a number or identifier follows that is closed
  // at once by ")", the commonest group of a derivative text. If so, it is
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

int TDiffReader::Read(TNodeTable& table, TTextSource src, const std::string& text, char sep) {
  if (text.size() >= std::numeric_limits<std::uint32_t>::max()) return 0;
  TScanner scan{text.data(), text.size(), sep};
  auto newNode = [&](std::int32_t kind, int left = 0, int right = 0) {
    return table.New(kind, left, right, src, 0, 0);
  };
  auto newTokenNode = [&](std::int32_t kind) {
    return table.New(kind, 0, 0, src, static_cast<std::uint32_t>(scan.TokenOff),
                     static_cast<std::uint32_t>(scan.TokenLen));
  };
  // After a primary: any number of "^" exponents, left-associative. The
  // exponent's number node comes directly before its power node.
  auto readExponents = [&](int& node) {
    while (scan.Token == dkPower) {
      if (!scan.Next()) return false;
      const bool bracketed = scan.Token == dkOpen;
      if (bracketed && !scan.Next()) return false;
      if (scan.Token != dkNumber) return false;
      const int number = newTokenNode(dkNumber);
      const int power = number ? newNode(dkPower, node, number) : 0;
      if (!power) return false;
      if (bracketed && (!scan.Next() || scan.Token != dkClose)) return false;
      if (!scan.Next()) return false;
      node = power;
    }
    return true;
  };

  FLevels.Clear();
  FLevels.Push(TLevel{});

  // The three places the reading can be at: before a term (where a sign may
  // follow), before a primary, and after a primary (exponents, then the
  // operator that continues or the end of the level).
  enum { kBeforeTerm, kBeforePrimary, kAfterPrimary } state = kBeforeTerm;
  int node = 0;
  for (;;) {
    const std::size_t top = FLevels.Size() - 1;
    TLevel& level = FLevels.Top();
    switch (state) {
      case kBeforeTerm:
        if (!scan.Next()) return 0;
        if (level.Expr == 0) {
          if (scan.Token == dkDiff) {
            level.Negate = true;
            if (!scan.Next()) return 0;
          }
          if (scan.Token == dkSum && !scan.Next()) return 0;
        }
        state = kBeforePrimary;
        break;

      case kBeforePrimary:
        if (scan.Token == dkNumber || scan.Token == dkIdent) {
          node = newTokenNode(scan.Token);
          if (!node) return 0;
          state = kAfterPrimary;
        } else if (scan.Token == dkOpen && scan.BracketedLeaf()) {
          // "(" number-or-identifier ")": that primary, without a level of its
          // own, but a bracket all the same for the nesting limit.
          if (top + 1 > static_cast<std::size_t>(kMaxNesting)) return 0;
          node = table.New(scan.Token, 0, 0, src, static_cast<std::uint32_t>(scan.TokenOff),
                           static_cast<std::uint32_t>(scan.TokenLen));
          if (!node) return 0;
          ++scan.Pos;
          scan.Kind = dkClose;
          state = kAfterPrimary;
        } else if (scan.Token == dkOpen || IsFunctionKind(scan.Token)) {
          TLevel opened{0, 0, 0, 0, 0, 0, 0, false};
          if (scan.Token != dkOpen) {  // function name: "(" must follow
            opened.Func = scan.Token;
            opened.FuncOff = static_cast<std::uint32_t>(scan.TokenOff);
            opened.FuncLen = static_cast<std::uint32_t>(scan.TokenLen);
            if (!scan.Next() || scan.Token != dkOpen) return 0;
          }
          if (top + 1 > static_cast<std::size_t>(kMaxNesting)) return 0;
          FLevels.Push(opened);
          state = kBeforeTerm;
        } else {
          return 0;
        }
        break;

      case kAfterPrimary: {
        if (!scan.Next() || !readExponents(node)) return 0;
        if (level.MulOp && !(node = newNode(level.MulOp, level.Term, node))) return 0;
        level.Term = node;
        level.MulOp = 0;
        if (scan.Token == dkProd || scan.Token == dkQuot) {
          level.MulOp = scan.Token;
          if (!scan.Next()) return 0;
          state = kBeforePrimary;
          break;
        }
        // The term is complete.
        int term = level.Term;
        level.Term = 0;
        if (level.Negate && !(term = newNode(dkNeg, term))) return 0;
        level.Negate = false;
        if (level.AddOp && !(term = newNode(level.AddOp, level.Expr, term))) return 0;
        level.Expr = term;
        level.AddOp = 0;
        if (scan.Token == dkSum || scan.Token == dkDiff) {
          level.AddOp = scan.Token;
          state = kBeforeTerm;
        } else if (scan.Token == dkEnd) {
          return top == 0 ? level.Expr : 0;  // else a "(" is missing its ")"
        } else if (scan.Token == dkClose) {
          if (top == 0) return 0;  // a ")" without "("
          const TLevel closed = level;
          FLevels.Pop();
          node = closed.Func ? table.New(closed.Func, closed.Expr, 0, src, closed.FuncOff, closed.FuncLen)
                             : closed.Expr;
          if (!node) return 0;
          state = kAfterPrimary;
        } else {
          return 0;
        }
        break;
      }
    }
  }
}
