#include "diff/DiffText.h"

#include "calc/NumberText.h"

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

struct TTemplate {
  const char* Text;
  int Nodes;  // nodes the reader makes of the literal parts
};

// The derivative of each kind that has operands. Every inserted piece
// follows "(", so a negative literal or N is read back as a number, and the
// "-" of "(-sin(" or "(-(" as a sign.
TTemplate DerivTemplate(std::int32_t kind) {
  switch (kind) {
    case dkSum: return {"((" DU ")+(" DV "))", 1};
    case dkDiff: return {"((" DU ")-(" DV "))", 1};
    case dkProd: return {"((" DU ")*(" PV ")+(" DV ")*(" PU "))", 3};
    case dkQuot: return {"((" DU ")*(" PV ")-(" DV ")*(" PU "))/(" PV ")^2", 6};
    case dkNeg: return {"(-(" DU "))", 1};
    case dkPower: return {"((" PV ")*(" PU ")^(" NM1 ")*(" DU "))", 4};
    case dkCos: return {"(-sin(" PU ")*(" DU "))", 3};
    case dkSin: return {"(cos(" PU ")*(" DU "))", 2};
    case dkTg: return {"(1/(cos(" PU ")^2)*(" DU "))", 6};
    case dkCtg: return {"(-1/(sin(" PU ")^2)*(" DU "))", 6};
    case dkAbs: return {"(sgn(" PU ")*(" DU "))", 2};
    case dkSqrt: return {"(0" SEP "5/sqrt(" PU ")*(" DU "))", 4};
    case dkLn: return {"(1/(" PU ")*(" DU "))", 3};
    case dkExp: return {"(exp(" PU ")*(" DU "))", 2};
    case dkArcsin: return {"(1/sqrt(1-(" PU ")^2)*(" DU "))", 8};
    case dkArccos: return {"(-1/sqrt(1-(" PU ")^2)*(" DU "))", 8};
    case dkArctg: return {"(1/(1+(" PU ")^2)*(" DU "))", 7};
    case dkArcctg: return {"(-1/(1+(" PU ")^2)*(" DU "))", 7};
    case dkSh: return {"(ch(" PU ")*(" DU "))", 2};
    case dkCh: return {"(sh(" PU ")*(" DU "))", 2};
    case dkTh: return {"(1/(ch(" PU ")^2)*(" DU "))", 6};
    case dkCth: return {"(-1/(sh(" PU ")^2)*(" DU "))", 6};
    default: return {"0", 1};  // sgn, heaviside: constant almost everywhere
  }
}

// The fully bracketed copy of each kind that has operands; one node each.
const char* FullTemplate(std::int32_t kind) {
  switch (kind) {
    case dkSum: return "((" PU ")+(" PV "))";
    case dkDiff: return "((" PU ")-(" PV "))";
    case dkProd: return "((" PU ")*(" PV "))";
    case dkQuot: return "((" PU ")/(" PV "))";
    case dkPower: return "((" PU ")^(" PV "))";
    case dkNeg: return "(-(" PU "))";
    default: return NAME "(" PU ")";  // functions
  }
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
    if (!FOver) *FOut += n.Kind == dkIdent && FTable->Text(n) == FVariable ? '1' : '0';
    return;
  }
  const TTemplate t = DerivTemplate(n.Kind);
  Count(t.Nodes);
  FStack.push_back(TFrame{t.Text, node, -1, 0});
}

void TDerivWriter::PushFull(int node) {
  const TTree& n = (*FTable)[node];
  if (n.Kind == dkNumber || n.Kind == dkIdent) {
    Count(1);
    if (!FOver) FOut->append(FTable->Text(n));
    return;
  }
  const TCopy copy = FCopies[static_cast<std::size_t>(node)];
  if (copy.Len) {
    Count(copy.Nodes);
    if (!FOver) {
      FOut->reserve(FOut->size() + copy.Len);  // the source lies in the buffer itself
      FOut->append(FOut->data() + copy.Off, copy.Len);
    }
    return;
  }
  const int before = FCounted;
  Count(1);
  FStack.push_back(TFrame{FullTemplate(n.Kind), node, static_cast<std::int32_t>(FOut->size()), before});
}

void TDerivWriter::AppendN(int exponent) {
  const long double n = FTable->Value(exponent) - 1;
  if (!FOver) AppendNumberText(*FOut, n);
}

int TDerivWriter::Write(TNodeTable& table, int root, std::string_view variable, char sep, int budget,
                        std::string& out) {
  FTable = &table;
  FOut = &out;
  FVariable = variable;
  FSep = sep;
  FBudget = budget;
  FCounted = 0;
  FOver = false;
  FStack.clear();
  FCopies.assign(static_cast<std::size_t>(table.Count()) + 1, TCopy{});

  PushDeriv(root);
  while (!FStack.empty()) {
    TFrame& frame = FStack.back();
    const char* p = frame.Pc;
    const char* run = p;
    while (static_cast<unsigned char>(*p) > kLastMarker) ++p;
    if (p != run && !FOver) out.append(run, static_cast<std::size_t>(p - run));
    if (*p == 0) {
      if (frame.Start >= 0 && !FOver)
        FCopies[static_cast<std::size_t>(frame.Node)] =
            TCopy{static_cast<std::uint32_t>(frame.Start),
                  static_cast<std::uint32_t>(out.size() - static_cast<std::size_t>(frame.Start)),
                  FCounted - frame.Counted};
      FStack.pop_back();
      continue;
    }
    frame.Pc = p + 1;  // frame may move once something is pushed
    const TTree& n = table[frame.Node];
    switch (*p) {
      case kPU: if (!FOver) PushFull(n.Left); break;
      case kPV: if (!FOver) PushFull(n.Right); break;
      case kDU: PushDeriv(n.Left); break;
      case kDV: PushDeriv(n.Right); break;
      case kNM1: AppendN(n.Right); break;
      case kName: if (!FOver) out.append(table.Text(n)); break;
      case kSep: if (!FOver) out += FSep; break;
    }
  }
  return FOver ? -1 : FCounted;
}
