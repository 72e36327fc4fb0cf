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

// Template pieces: literal text, interrupted by one-byte markers.
#define PU "\x01"    // FullText of the left operand
#define PV "\x02"    // FullText of the right operand
#define DU "\x03"    // DerivText of the left operand
#define DV "\x04"    // DerivText of the right operand
#define NM1 "\x05"   // the exponent's value minus 1, as number text
#define NAME "\x06"  // the node's own text (a function name)
#define SEP "\x07"   // the decimal separator
enum : char { kPU = 1, kPV, kDU, kDV, kNM1, kName, kSep, kLastMarker = kSep };

using TPieces = std::array<TTemplatePiece, 10>;

constexpr TPieces Compile(const char* text) {
  TPieces pieces{};
  for (int k = 0;; ++k) {
    TTemplatePiece& piece = pieces[static_cast<std::size_t>(k)];
    while (*text && static_cast<unsigned char>(*text) > kLastMarker) piece.Text[piece.Len++] = *text++;
    piece.Marker = *text;
    if (!*text++) return pieces;
  }
}

struct TTemplate {
  const TTemplatePiece* Pieces;
  int Nodes;  // nodes the reader makes of the literal parts
};

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
    case dkSum: T("((" DU ")+(" DV "))", 1)
    case dkDiff: T("((" DU ")-(" DV "))", 1)
    case dkProd: T("((" DU ")*(" PV ")+(" DV ")*(" PU "))", 3)
    case dkQuot: T("((" DU ")*(" PV ")-(" DV ")*(" PU "))/(" PV ")^2", 6)
    case dkNeg: T("(-(" DU "))", 1)
    case dkPower: T("((" PV ")*(" PU ")^(" NM1 ")*(" DU "))", 4)
    case dkCos: T("(-sin(" PU ")*(" DU "))", 3)
    case dkSin: T("(cos(" PU ")*(" DU "))", 2)
    case dkTg: T("(1/(cos(" PU ")^2)*(" DU "))", 6)
    case dkCtg: T("(-1/(sin(" PU ")^2)*(" DU "))", 6)
    case dkAbs: T("(sgn(" PU ")*(" DU "))", 2)
    case dkSqrt: T("(0" SEP "5/sqrt(" PU ")*(" DU "))", 4)
    case dkLn: T("(1/(" PU ")*(" DU "))", 3)
    case dkExp: T("(exp(" PU ")*(" DU "))", 2)
    case dkArcsin: T("(1/sqrt(1-(" PU ")^2)*(" DU "))", 8)
    case dkArccos: T("(-1/sqrt(1-(" PU ")^2)*(" DU "))", 8)
    case dkArctg: T("(1/(1+(" PU ")^2)*(" DU "))", 7)
    case dkArcctg: T("(-1/(1+(" PU ")^2)*(" DU "))", 7)
    case dkSh: T("(ch(" PU ")*(" DU "))", 2)
    case dkCh: T("(sh(" PU ")*(" DU "))", 2)
    case dkTh: T("(1/(ch(" PU ")^2)*(" DU "))", 6)
    case dkCth: T("(-1/(sh(" PU ")^2)*(" DU "))", 6)
    default: T("0", 1)  // sgn, heaviside: constant almost everywhere
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
    case dkSum: T("((" PU ")+(" PV "))")
    case dkDiff: T("((" PU ")-(" PV "))")
    case dkProd: T("((" PU ")*(" PV "))")
    case dkQuot: T("((" PU ")/(" PV "))")
    case dkPower: T("((" PU ")^(" PV "))")
    case dkNeg: T("(-(" PU "))")
    default: T(NAME "(" PU ")")  // functions
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
