#include "calc/CalcProgram.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "calc/CalcFusion.h"
#include "calc/CalcPower.h"
#include "calc/NumberText.h"
#include "runtime/Exception.h"
#include "runtime/FloatEnv.h"

namespace {

// Makes sure v is computed here, before a following read of the status
// flags or a change of the floating-point settings.
inline void Settle(long double& v) {
#if defined(__GNUC__) && (defined(__i386__) || defined(__x86_64__))
  __asm__ volatile("" : "+t"(v));
#else
  volatile long double copy = v;
  v = copy;
#endif
}

[[noreturn]] void NoValue() { throw Exception("Variable without a value."); }

constexpr long double kNoResult = std::numeric_limits<long double>::quiet_NaN();

// Rows evaluated between two looks at the status flags in a batch.
constexpr std::size_t kBatchBlock = 64;

}  // namespace

void TCalcProgram::Clear() {
  FCode.clear();
  FBadNumbers.clear();
  FDepth = FMaxDepth = 0;
  FMinVariable = std::numeric_limits<std::int32_t>::max();
  FMaxVariable = -1;
}

void TCalcProgram::LimitBuffers(std::size_t bytes) {
  if (FCode.capacity() * sizeof(TCalcInstr) > bytes) std::vector<TCalcInstr>().swap(FCode);
  if (FStack.capacity() * sizeof(long double) > bytes) std::vector<long double>().swap(FStack);
}

void TCalcProgram::Emit(TCalcOp op, std::int32_t arg, long double value) {
  FCode.push_back({op, arg, 0, 0.0f, value});
}

bool TCalcProgram::LastIsLeaf() const {
  // A right operand ends with its operator unless it is a single leaf, so a
  // push as the last instruction is the whole right operand.
  return !FCode.empty() && (FCode.back().op == TCalcOp::Number || FCode.back().op == TCalcOp::Variable);
}

void TCalcProgram::Push(TCalcOp op, std::int32_t arg, long double value) {
  Emit(op, arg, value);
  if (++FDepth > FMaxDepth) FMaxDepth = FDepth;
}

std::optional<long double> TCalcProgram::PushNumber(std::string_view literal) {
  try {
    const long double value = TextToNumberUnguarded(literal);
    PushNumber(value);
    return value;
  } catch (const EConvertError& e) {
    Push(TCalcOp::BadNumber, static_cast<std::int32_t>(FBadNumbers.size()));
    FBadNumbers.push_back(e.Message());
    return std::nullopt;
  }
}

void TCalcProgram::PushNumber(long double value) { Push(TCalcOp::Number, 0, value); }

void TCalcProgram::PushVariable(std::int32_t position) {
  Push(TCalcOp::Variable, position);
  if (position < FMinVariable) FMinVariable = position;
  if (position > FMaxVariable) FMaxVariable = position;
}

// The operation with its right operand on the stack, a number or a variable.
struct TBinaryOps {
  TCalcOp Stack, WithNumber, WithVariable;
};
constexpr TBinaryOps kBinaryOps[] = {
    {TCalcOp::Add, TCalcOp::AddNumber, TCalcOp::AddVariable},
    {TCalcOp::Sub, TCalcOp::SubNumber, TCalcOp::SubVariable},
    {TCalcOp::Mul, TCalcOp::MulNumber, TCalcOp::MulVariable},
    {TCalcOp::Div, TCalcOp::DivNumber, TCalcOp::DivVariable},
};

void TCalcProgram::Binary(TCalcBinary op) {
  const TBinaryOps& ops = kBinaryOps[static_cast<int>(op)];
  if (LastIsLeaf()) {
    TCalcInstr& last = FCode.back();
    last.op = last.op == TCalcOp::Number ? ops.WithNumber : ops.WithVariable;
  } else {
    Emit(ops.Stack);
  }
  --FDepth;
}

void TCalcProgram::Power() {
  if (LastIsLeaf()) {
    TCalcInstr& last = FCode.back();
    if (last.op == TCalcOp::Variable) {
      last.op = TCalcOp::PowerVariable;
    } else if (const auto n = Int32Exponent(last.value)) {
      last.op = TCalcOp::PowerInt;
      last.arg = *n;
    } else {
      last.op = TCalcOp::PowerReal;
    }
  } else {
    Emit(TCalcOp::PowerStack);
  }
  --FDepth;
}

void TCalcProgram::Negate() { Emit(TCalcOp::Negate); }

void TCalcProgram::Function(TFunction function) {
  switch (function) {
    case TFunction::Sh: Emit(TCalcOp::Sh); break;
    case TFunction::Ch: Emit(TCalcOp::Ch); break;
    case TFunction::Th: Emit(TCalcOp::Th); break;
    case TFunction::Cth: Emit(TCalcOp::Cth); break;
    default: Emit(TCalcOp::Function, static_cast<std::int32_t>(function));
  }
}

void TCalcProgram::Finish() {
  if (FFusion) FuseProgram(FCode);
  FStack.assign(static_cast<std::size_t>(FMaxDepth) + 1, 0.0L);
}

namespace {

// The registers of one run. The top of the stack lives in a local; the
// array holds what lies below, and its slot 0 takes the meaningless "top"
// that the first push saves.
template <bool Checked>
struct TMachine {
  long double* Sp;
  std::span<const long double> Values;
  long double Top = 0;

  long double Value(std::int32_t i) const {
    if constexpr (Checked)
      if (i < 0 || static_cast<std::size_t>(i) >= Values.size()) NoValue();
    return Values.data()[i];
  }
  void Push(long double v) {
    *Sp++ = Top;
    Top = v;
  }
  long double Pop() { return *--Sp; }
  // Between the parts of a fused instruction, where the plain program would
  // have ended one instruction and begun the next.
  static long double Boundary(long double v) {
    if constexpr (Checked) {
      Settle(v);
      TFloatEnvGuard::Check();
    }
    return v;
  }
};

}  // namespace

template <bool Checked>
long double TCalcProgram::Execute(std::span<const long double> values) {
  TMachine<Checked> m{FStack.data(), values};
  // Apart from the machine, whose registers stay in registers only while
  // nothing takes their address.
  TExpPairs expPairs;
  for (const TCalcInstr& in : FCode) {
    using O = TCalcOp;
    switch (in.op) {
      case O::Number: m.Push(in.value); break;
      case O::Variable: m.Push(m.Value(in.arg)); break;
      case O::BadNumber:
        TFloatEnvGuard::Check();  // an earlier fault comes first
        throw EConvertError(FBadNumbers[static_cast<std::size_t>(in.arg)]);
      case O::Add: m.Top = m.Pop() + m.Top; break;
      case O::Sub: m.Top = m.Pop() - m.Top; break;
      case O::Mul: m.Top = m.Pop() * m.Top; break;
      case O::Div: m.Top = m.Pop() / m.Top; break;
      case O::PowerStack: m.Top = GeneralPower(m.Pop(), m.Top); break;
      case O::AddNumber: m.Top += in.value; break;
      case O::SubNumber: m.Top -= in.value; break;
      case O::MulNumber: m.Top *= in.value; break;
      case O::DivNumber: m.Top /= in.value; break;
      case O::PowerInt: m.Top = PowerOfInt(m.Top, in.arg); break;
      case O::PowerReal: m.Top = RealPower(m.Top, in.value); break;
      case O::AddVariable: m.Top += m.Value(in.arg); break;
      case O::SubVariable: m.Top -= m.Value(in.arg); break;
      case O::MulVariable: m.Top *= m.Value(in.arg); break;
      case O::DivVariable: m.Top /= m.Value(in.arg); break;
      case O::PowerVariable: m.Top = GeneralPower(m.Top, m.Value(in.arg)); break;
      case O::Negate: m.Top = -m.Top; break;
      case O::Function: m.Top = kFunctions[in.arg].Evaluate(m.Top); break;
      case O::Sh: m.Top = EvalSh(m.Top, expPairs); break;
      case O::Ch: m.Top = EvalCh(m.Top, expPairs); break;
      case O::Th: m.Top = EvalTh(m.Top, expPairs); break;
      case O::Cth: m.Top = EvalCth(m.Top, expPairs); break;
      // Fused instructions (CalcFusion), their parts in the plain order.
      case O::VarPlusNum: m.Push(m.Value(in.arg) + in.value); break;
      case O::VarTimesNum: m.Push(m.Value(in.arg) * in.value); break;
      case O::VarOverNum: m.Push(m.Value(in.arg) / in.value); break;
      case O::MulVarPlusNum: m.Top *= m.Boundary(m.Value(in.arg) + in.value); break;
      case O::MulVarTimesNum: m.Top *= m.Boundary(m.Value(in.arg) * in.value); break;
      case O::MulVarOverNum: m.Top *= m.Boundary(m.Value(in.arg) / in.value); break;
      case O::DivVarPlusNum: m.Top /= m.Boundary(m.Value(in.arg) + in.value); break;
      case O::DivVarTimesNum: m.Top /= m.Boundary(m.Value(in.arg) * in.value); break;
      case O::DivVarOverNum: m.Top /= m.Boundary(m.Value(in.arg) / in.value); break;
      case O::SumTimesSum:
        m.Push(m.Boundary(m.Value(in.arg) + in.value));
        m.Top *= m.Boundary(m.Value(in.arg2) + static_cast<long double>(in.value2));
        break;
      case O::SumOverSum:
        m.Push(m.Boundary(m.Value(in.arg) + in.value));
        m.Top /= m.Boundary(m.Value(in.arg2) + static_cast<long double>(in.value2));
        break;
      case O::VarOverSum:
        m.Push(m.Value(in.arg));
        m.Top /= m.Boundary(m.Value(in.arg2) + in.value);
        break;
      case O::ProductPlusNum: m.Push(m.Boundary(m.Value(in.arg) * in.value) + in.value2); break;
      case O::MulVariableAddNumber: m.Top = m.Boundary(m.Top * m.Value(in.arg)) + in.value; break;
      case O::MulVariableSubNumber: m.Top = m.Boundary(m.Top * m.Value(in.arg)) - in.value; break;
      case O::VarPowerInt: m.Push(PowerOfInt(m.Value(in.arg), in.arg2)); break;
      case O::MulVarPowerInt: m.Top *= m.Boundary(PowerOfInt(m.Value(in.arg), in.arg2)); break;
      case O::NumTimesVar: m.Push(in.value * m.Value(in.arg)); break;
      case O::NumTimesVarPowerInt: m.Push(in.value * m.Boundary(PowerOfInt(m.Value(in.arg), in.arg2))); break;
    }
    if constexpr (Checked) {
      Settle(m.Top);
      TFloatEnvGuard::Check();
    }
  }
  Settle(m.Top);
  return m.Top;
}

// No failing literal, and every variable the program reads has a value.
bool TCalcProgram::FastRunPossible(std::size_t valueCount) const {
  const bool valuesCover =
      FMinVariable >= 0 && (FMaxVariable < 0 || static_cast<std::size_t>(FMaxVariable) < valueCount);
  return FBadNumbers.empty() && valuesCover;
}

long double TCalcProgram::Run(std::span<const long double> values) {
  if (FastRunPossible(values.size())) {
    const long double result = Execute<false>(values);
    if (!TFloatEnvGuard::Raised()) return result;
    TFloatEnvGuard::Clear();
  }
  return RunChecked(values);
}

// Something fails: run again, testing after every step, to raise the first
// error in evaluation order.
long double TCalcProgram::RunChecked(std::span<const long double> values) { return Execute<true>(values); }

// A row as Run takes it, its error recorded instead of raised.
long double TCalcProgram::RunRow(std::span<const long double> values, std::size_t row, TRowErrors& errors) {
  const long double result = Execute<false>(values);
  if (!TFloatEnvGuard::Raised()) return result;
  TFloatEnvGuard::Clear();
  return RunRowChecked(values, row, errors);
}

long double TCalcProgram::RunRowChecked(std::span<const long double> values, std::size_t row, TRowErrors& errors) {
  try {
    return RunChecked(values);
  } catch (const Exception& e) {
    TFloatEnvGuard::Clear();
    errors.Add(row, e.Message());
    return kNoResult;
  }
}

// Rows run in blocks with one look at the flags after each block; a block
// that raised a fault runs again row by row to find the failing rows. The
// rows' results do not depend on each other, so a second run gives the
// same bits.
void TCalcProgram::RunMany(std::span<const long double> values, std::size_t width, std::span<long double> results,
                           TRowErrors& errors) {
  errors.Clear();
  const std::size_t rows = results.size();
  auto rowValues = [&](std::size_t row) { return values.subspan(row * width, width); };
  if (!FastRunPossible(width)) {
    for (std::size_t row = 0; row < rows; ++row) results[row] = RunRowChecked(rowValues(row), row, errors);
    return;
  }
  for (std::size_t first = 0; first < rows; first += kBatchBlock) {
    const std::size_t end = std::min(rows, first + kBatchBlock);
    for (std::size_t row = first; row < end; ++row) results[row] = Execute<false>(rowValues(row));
    if (!TFloatEnvGuard::Raised()) continue;
    TFloatEnvGuard::Clear();
    for (std::size_t row = first; row < end; ++row) results[row] = RunRow(rowValues(row), row, errors);
  }
}
