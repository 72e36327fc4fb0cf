#include "calc/CalcFusion.h"

#include <cmath>
#include <limits>

namespace {

using O = TCalcOp;

// What a pattern takes over from its second instruction b into the first, a.
enum class TMerge : std::uint8_t {
  OpOnly,       // nothing: only the operation changes
  Addend,       // a.value = b's addend (v-c as v+(-c))
  Value,        // a.value = b.value
  Exponent,     // a.arg2 = b.arg (its whole exponent)
  VarSum,       // a.arg2 = b.arg, a.value = b.value (its w and b of w+b)
  FloatSum,     // a.arg2 = b.arg, a.value2 = b.value as a float
  FloatAddend,  // a.value2 = b's addend as a float
  Operand,      // a.arg, a.arg2 = b's (a number takes b's variable and exponent)
};

struct TFusion {
  TCalcOp First, Second, Fused;
  TMerge Merge;
};

// A push directly before a binary operation is always its right operand.
// The two-literal forms keep their second literal as a float, so they fuse
// only when a float holds it exactly.
constexpr TFusion kFusions[] = {
    {O::Variable, O::AddNumber, O::VarPlusNum, TMerge::Addend},        // push v+c
    {O::Variable, O::SubNumber, O::VarPlusNum, TMerge::Addend},        // push v+(-c)
    {O::Variable, O::MulNumber, O::VarTimesNum, TMerge::Value},        // push v*c
    {O::Variable, O::DivNumber, O::VarOverNum, TMerge::Value},         // push v/c
    {O::Variable, O::PowerInt, O::VarPowerInt, TMerge::Exponent},      // push v^n
    {O::Variable, O::DivVarPlusNum, O::VarOverSum, TMerge::VarSum},    // push v/(w+b)
    {O::MulVariable, O::AddNumber, O::MulVariableAddNumber, TMerge::Value},  // top*v+c
    {O::MulVariable, O::SubNumber, O::MulVariableSubNumber, TMerge::Value},  // top*v-c
    {O::VarPlusNum, O::MulVarPlusNum, O::SumTimesSum, TMerge::FloatSum},     // push (v+a)*(w+b)
    {O::VarPlusNum, O::DivVarPlusNum, O::SumOverSum, TMerge::FloatSum},      // push (v+a)/(w+b)
    {O::VarPlusNum, O::Mul, O::MulVarPlusNum, TMerge::OpOnly},         // top*(v+c)
    {O::VarPlusNum, O::Div, O::DivVarPlusNum, TMerge::OpOnly},         // top/(v+c)
    {O::VarTimesNum, O::AddNumber, O::ProductPlusNum, TMerge::FloatAddend},  // push v*a+b
    {O::VarTimesNum, O::SubNumber, O::ProductPlusNum, TMerge::FloatAddend},  // push v*a+(-b)
    {O::VarTimesNum, O::Mul, O::MulVarTimesNum, TMerge::OpOnly},       // top*(v*c)
    {O::VarTimesNum, O::Div, O::DivVarTimesNum, TMerge::OpOnly},       // top/(v*c)
    {O::VarOverNum, O::Mul, O::MulVarOverNum, TMerge::OpOnly},         // top*(v/c)
    {O::VarOverNum, O::Div, O::DivVarOverNum, TMerge::OpOnly},         // top/(v/c)
    {O::VarPowerInt, O::Mul, O::MulVarPowerInt, TMerge::OpOnly},       // top*v^n
    {O::Number, O::MulVariable, O::NumTimesVar, TMerge::Operand},      // push c*v
    {O::Number, O::MulVarPowerInt, O::NumTimesVarPowerInt, TMerge::Operand},  // push c*v^n
};

bool FloatHolds(long double v) {
  return std::fabs(v) <= std::numeric_limits<float>::max() && static_cast<long double>(static_cast<float>(v)) == v;
}

long double Addend(const TCalcInstr& b) { return b.op == O::SubNumber ? -b.value : b.value; }

// Merges b into a by the pattern; false, with a unchanged, when a float
// cannot hold the literal the pattern would keep as one.
bool Merge(const TFusion& fusion, TCalcInstr& a, const TCalcInstr& b) {
  switch (fusion.Merge) {
    case TMerge::OpOnly: break;
    case TMerge::Addend: a.value = Addend(b); break;
    case TMerge::Value: a.value = b.value; break;
    case TMerge::Exponent: a.arg2 = b.arg; break;
    case TMerge::VarSum:
      a.arg2 = b.arg;
      a.value = b.value;
      break;
    case TMerge::FloatSum:
      if (!FloatHolds(b.value)) return false;
      a.arg2 = b.arg;
      a.value2 = static_cast<float>(b.value);
      break;
    case TMerge::FloatAddend:
      if (!FloatHolds(Addend(b))) return false;
      a.value2 = static_cast<float>(Addend(b));
      break;
    case TMerge::Operand:
      a.arg = b.arg;
      a.arg2 = b.arg2;
      break;
  }
  a.op = fusion.Fused;
  return true;
}

bool Fusable(TCalcInstr& a, const TCalcInstr& b) {
  for (const TFusion& fusion : kFusions)
    if (fusion.First == a.op && fusion.Second == b.op) return Merge(fusion, a, b);
  return false;
}

}  // namespace

// In place: the fused program is never longer than the part already read.
void FuseProgram(std::vector<TCalcInstr>& code) {
  std::size_t size = 0;
  for (const TCalcInstr& in : code) {
    code[size++] = in;
    while (size >= 2 && Fusable(code[size - 2], code[size - 1])) --size;
  }
  code.resize(size);
}
