#include "diff/DiffText.h"

#include <algorithm>
#include <array>
#include <cstring>

// A template compiled into pieces: each a literal text (at most 14
// characters, padded, so that it is copied as one fixed-size block) and the
// marker that follows it.
struct TTemplatePiece {
  char Text[14];
  std::uint8_t Len;
  char Marker;  // 0 ends the template
};

namespace {

// Templates are written as text with markers in braces (formula/Functions.h):
// {u} and {v} the left and right operand as written, {du} and {dv} their
// derivatives, {n-1} the exponent's value minus 1, {name} the node's own
// text (a function name), {sep} the decimal separator.
enum : char { kPU = 1, kPV, kDU, kDV, kNM1, kName, kSep };

constexpr char MarkerOf(std::string_view name) {
  constexpr std::string_view kNames[] = {"u", "v", "du", "dv", "n-1", "name", "sep"};
  for (std::size_t i = 0; i < std::size(kNames); ++i)
    if (kNames[i] == name) return static_cast<char>(kPU + i);
  throw "unknown template marker";  // a compile-time error
}

using TPieces = std::array<TTemplatePiece, 10>;

constexpr TPieces Compile(std::string_view text) {
  TPieces pieces{};
  std::size_t k = 0;
  for (std::size_t i = 0; i < text.size();) {
    TTemplatePiece& piece = pieces[k];
    if (text[i] != '{') {
      if (piece.Len == sizeof piece.Text) throw "template text too long for a piece";
      piece.Text[piece.Len++] = text[i++];
      continue;
    }
    const std::size_t close = text.find('}', i);
    piece.Marker = MarkerOf(text.substr(i + 1, close - i - 1));
    i = close + 1;
    ++k;
  }
  return pieces;  // the last piece's marker 0 ends the template
}

struct TTemplate {
  const TTemplatePiece* Pieces;
  int Nodes;  // nodes the reader makes of the literal parts
};

constexpr auto kFunctionDerivatives = [] {
  std::array<TPieces, kFunctionCount> compiled{};
  for (int i = 0; i < kFunctionCount; ++i) compiled[static_cast<std::size_t>(i)] = Compile(kFunctions[i].Derivative);
  return compiled;
}();

// The derivative of each kind that has operands. Every inserted piece
// follows "(", so a negative literal or N is read back as a number, and the
// "-" of "(-sin(" or "(-(" as a sign.
TTemplate DerivTemplate(std::int32_t kind) {
#define T(text, nodes)                          \
  {                                             \
    static constexpr TPieces p = Compile(text); \
    return {p.data(), nodes};                   \
  }
  switch (kind) {
    case dkSum: T("(({du})+({dv}))", 1)
    case dkDiff: T("(({du})-({dv}))", 1)
    case dkProd: T("(({du})*({v})+({dv})*({u}))", 3)
    case dkQuot: T("(({du})*({v})-({dv})*({u}))/({v})^2", 6)
    case dkNeg: T("(-({du}))", 1)
    case dkPower: T("(({v})*({u})^({n-1})*({du}))", 4)
    default: {
      const int f = static_cast<int>(FunctionOfKind(kind));
      return {kFunctionDerivatives[static_cast<std::size_t>(f)].data(), kFunctions[f].DerivativeNodes};
    }
  }
#undef T
}

// The fully bracketed copy of each kind that has operands; one node each.
const TTemplatePiece* FullTemplate(std::int32_t kind) {
#define T(text)                                 \
  {                                             \
    static constexpr TPieces p = Compile(text); \
    return p.data();                            \
  }
  switch (kind) {
    case dkSum: T("(({u})+({v}))")
    case dkDiff: T("(({u})-({v}))")
    case dkProd: T("(({u})*({v}))")
    case dkQuot: T("(({u})/({v}))")
    case dkPower: T("(({u})^({v}))")
    case dkNeg: T("(-({u}))")
    default: T("{name}({u})")  // functions
  }
#undef T
}

}  // namespace

void TDerivWriter::Count(int nodes) {
  FCounted += nodes;
  if (FCounted > FBudget) FOver = true;
}

void TDerivWriter::PushDeriv(int node) {
  const TTree& n = (*FTable)[node];
  if (n.Kind == dkNumber || n.Kind == dkIdent) {
    Count(1);
    if (!FOver) FOut->Put(n.Kind == dkIdent && FTable->Text(n) == FVariable ? '1' : '0');
    return;
  }
  const TTemplate t = DerivTemplate(n.Kind);
  Count(t.Nodes);
  FStack.Push(TFrame{t.Pieces, node, -1, 0});
}

void TDerivWriter::PushFull(int node) {
  const TTree& n = (*FTable)[node];
  if (n.Kind == dkNumber || n.Kind == dkIdent) {
    Count(1);
    if (!FOver) FOut->Put(FTable->Text(n));
    return;
  }
  const TCopy copy = FCopies[static_cast<std::size_t>(node)];
  if (copy.Len) {
    Count(copy.Nodes);
    if (!FOver) {
      FOut->PutOwn(copy.Off, copy.Len);
    }
    return;
  }
  const int before = FCounted;
  Count(1);
  FStack.Push(TFrame{FullTemplate(n.Kind), node, static_cast<std::int32_t>(FOut->Size()), before});
}

void TDerivWriter::AppendN(int exponent) {
  const long double n = FTable->Value(exponent) - 1;
  if (FOver) return;
  char text[17];
  if (const int len = WholeNumberText(n, text)) {
    FOut->Put(std::string_view(text, static_cast<std::size_t>(len)));
  } else {
    FScratch.clear();
    AppendNumberText(FScratch, n);
    FOut->Put(FScratch);
  }
}

int TDerivWriter::Write(TNodeTable& table, int root, std::string_view variable, char sep, int budget,
                        std::string& out) {
  FTable = &table;
  TTextBuffer buffer(out);
  FOut = &buffer;
  FVariable = variable;
  FSep = sep;
  FBudget = budget;
  FCounted = 0;
  FOver = false;
  FStack.Clear();
  FCopies.Assign(static_cast<std::size_t>(table.Count()) + 1, TCopy{});

  PushDeriv(root);
  while (!FStack.Empty()) {
    TFrame& frame = FStack.Top();
    const TTemplatePiece& piece = *frame.Pc;
    if (piece.Len && !FOver) buffer.PutBlock(piece.Text, sizeof piece.Text, piece.Len);
    if (piece.Marker == 0) {
      if (frame.Start >= 0 && !FOver)
        FCopies[static_cast<std::size_t>(frame.Node)] =
            TCopy{static_cast<std::uint32_t>(frame.Start),
                  static_cast<std::uint32_t>(buffer.Size() - static_cast<std::size_t>(frame.Start)),
                  FCounted - frame.Counted};
      FStack.Pop();
      continue;
    }
    frame.Pc = &piece + 1;  // frame may move once something is pushed
    const TTree& n = table[frame.Node];
    switch (piece.Marker) {
      case kPU: if (!FOver) PushFull(n.Left); break;
      case kPV: if (!FOver) PushFull(n.Right); break;
      case kDU: PushDeriv(n.Left); break;
      case kDV: PushDeriv(n.Right); break;
      case kNM1: AppendN(n.Right); break;
      case kName: if (!FOver) buffer.Put(table.Text(n)); break;
      case kSep: if (!FOver) buffer.Put(FSep); break;
    }
  }
  buffer.Finish();
  FOut = nullptr;
  return FOver ? -1 : FCounted;
}
