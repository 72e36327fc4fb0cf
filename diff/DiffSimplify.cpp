#include "diff/DiffSimplify.h"

#include <cmath>

#include "formula/FunctionMaths.h"
#include "runtime/Exception.h"
#include "runtime/FloatEnv.h"

namespace {

bool IsWhole(long double x) { return std::floor(x) == x; }

}  // namespace

int TSimplifier::Becomes(int node, long double value) {
  TTree& n = (*FTable)[node];
  const std::size_t off = FFolded->size();
  AppendValueText(*FFolded, value);
  n.Kind = dkNumber;
  n.Src = tsFolded;
  n.Off = static_cast<std::uint32_t>(off);
  n.Len = static_cast<std::uint32_t>(FFolded->size() - off);
  // A whole number below 10^15 is written exactly, so its text reads back
  // as the same value, which is kept; any other value is converted from its
  // text when a rule needs it.
  n.Slot = 0;
  if (std::fabs(value) < 1e15L && IsWhole(value)) FTable->SetValue(node, value == 0 ? 0 : value);
  return node;
}

// Each operand of a sum, difference, product or quotient is converted at
// most once, before the rules: whichever rule decides, it converts exactly
// the operands that are numbers, in the same order.
TSimplifier::TOperand TSimplifier::Operand(int node) {
  if (!IsNumber(node)) return TOperand{false, 0};
  return TOperand{true, Value(node)};
}

int TSimplifier::Sum(int node, int u, int v) {
  const TOperand a = Operand(u), b = Operand(v);
  if (a.IsNumber && b.IsNumber) return Becomes(node, CheckedStep(a.Value + b.Value));
  if (a.Is(0)) return v;
  if (b.Is(0)) return u;
  return node;
}

int TSimplifier::Difference(int node, int u, int v) {
  const TOperand a = Operand(u), b = Operand(v);
  if (a.IsNumber && b.IsNumber) return Becomes(node, CheckedStep(a.Value - b.Value));
  if (a.Is(0)) {  // 0 - v: the node turns into the negation of v, as it is
    TTree& n = (*FTable)[node];
    n.Kind = dkNeg;
    n.Left = static_cast<std::int16_t>(v);
    n.Right = 0;
    return node;
  }
  if (b.Is(0)) return u;
  return node;
}

int TSimplifier::Product(int node, int u, int v) {
  const TOperand a = Operand(u), b = Operand(v);
  if (a.IsNumber && b.IsNumber) return Becomes(node, CheckedStep(a.Value * b.Value));
  if (a.Is(0) || b.Is(0)) return Becomes(node, 0);
  if (a.Is(1)) return v;
  if (b.Is(1)) return u;
  return node;
}

int TSimplifier::Quotient(int node, int u, int v) {
  const TOperand a = Operand(u), b = Operand(v);
  if (a.IsNumber && b.IsNumber) return Becomes(node, CheckedStep(a.Value / b.Value));
  if (a.Is(0)) return Becomes(node, 0);
  if (b.Is(0)) throw Exception("Dividion by zero.");
  if (b.Is(1)) return u;
  return node;
}

// u ^ v with v always a number. A base of 0 gives 0 whatever the exponent:
// the power rule writes u^(n-1) for constant bases, and this is what makes
// those terms vanish. A negative base has a real power only for a whole
// exponent; for any other the fold is an invalid operation.
int TSimplifier::Power(int node, int u, int v) {
  if (IsNumber(u, 0)) return Becomes(node, 0);
  const long double b = Value(v);
  if (b == 0) return Becomes(node, 1);
  if (IsNumber(u)) {
    const long double a = Value(u);
    if (a < 0 && !IsWhole(b)) TFloatEnvGuard::Throw(TFloatEnvGuard::kInvalid);
    const long double lnA = CheckedStep(std::log(std::fabs(a)));
    const long double product = CheckedStep(b * lnA);
    Becomes(node, CheckedStep(std::exp(product)));
    // An odd exponent of a negative base: the negation of the text just written.
    if (a < 0 && !IsWhole(b / 2)) Becomes(node, -Value(node));
    return node;
  }
  if (b == 1) return u;
  return node;
}

int TSimplifier::Function(int node, int u) {
  if (!IsNumber(u)) return node;
  const TFunctionRow& row = FunctionRow(FunctionOfKind((*FTable)[node].Kind));
  return Becomes(node, CheckedStep(row.Fold(Value(u))));
}

int TSimplifier::Apply(int node) {
  const TTree& n = (*FTable)[node];
  switch (n.Kind) {
    case dkSum: return Sum(node, n.Left, n.Right);
    case dkDiff: return Difference(node, n.Left, n.Right);
    case dkProd: return Product(node, n.Left, n.Right);
    case dkQuot: return Quotient(node, n.Left, n.Right);
    case dkPower: return Power(node, n.Left, n.Right);
    case dkNeg: {
      const int u = n.Left;
      // A negation of a negation stays as it is.
      return IsNumber(u) ? Becomes(node, -Value(u)) : node;
    }
    default: return IsFunctionKind(n.Kind) ? Function(node, n.Left) : node;
  }
}

// The reader lays out a tree in post-order, so one pass in index order
// meets every node after its operands, in the order a recursive walk (left
// operand, right operand, node) would; no stack is needed. Each node's
// operands are first replaced by what their simplification returned.
int TSimplifier::Run(TNodeTable& table, int first, int root, std::string& folded) {
  FTable = &table;
  FFolded = &folded;
  if (root == 0) return 0;
  // Stale faults would misname a fold's error. Clearing costs more than
  // looking, and the reading before us nearly never leaves any.
  if (TFloatEnvGuard::Raised()) TFloatEnvGuard::Clear();
  FResult.Assign(static_cast<std::size_t>(root - first + 1), 0);
  auto result = [&](int node) -> std::int32_t& { return FResult[static_cast<std::size_t>(node - first)]; };
  for (int i = first; i <= root; ++i) {
    TTree& n = table[i];
    if (!IsLeafKind(n.Kind)) {
      n.Left = static_cast<std::int16_t>(result(n.Left));
      if (IsBinaryKind(n.Kind)) n.Right = static_cast<std::int16_t>(result(n.Right));
      result(i) = Apply(i);
    } else {
      result(i) = i;
    }
  }
  return result(root);
}
