#include "calc/CalcProgram.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "calc/CalcScanner.h"
#include "calc/NumberText.h"
#include "runtime/Exception.h"
#include "runtime/FloatEnv.h"

namespace {

constexpr long double kHalfPi = 1.570796326794896619231321691639751442L;
constexpr long double kTwoTo63 = 9223372036854775808.0L;
constexpr long double kMaxInt32 = 2147483647.0L;

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

// A not-a-number with the invalid-operation flag raised.
long double InvalidResult() {
  volatile long double zero = 0;
  return zero / zero;
}

// Reduction of a trigonometric argument to r = x - n*pi/2 with |r| <= pi/4.
// The C library's long double sine, cosine and tangent take a slow
// multi-precision path for every |x| > pi/4 (some 150 ns); this one is exact
// enough for |x| < 2^20: pi/2 in three pieces, of which n times the first
// two are exact products and the first difference is exact; the rounding
// of the second is recovered. Arguments close to a multiple of pi/2, where
// the difference cancels, are left to the library.
constexpr long double kTwoOverPi = 0xa2f9836e4e44152ap-64L;
constexpr long double kPio2Part1 = 0xc90fdaa221600000p-63L;  // 44 bits
constexpr long double kPio2Part2 = 0x8c234c4c66200000p-107L; // 44 bits
constexpr long double kPio2Part3 = 0x8b80dc1cd129024ep-151L;
constexpr long double kRoundToInt = 0x1.8p63L;  // adding it rounds to a whole number

bool ReduceQuarterPi(long double x, long double& r, unsigned& quadrant) {
  if (!(std::fabs(x) < 0x1p20L)) return false;
  const long double n = (x * kTwoOverPi + kRoundToInt) - kRoundToInt;
  const long double r0 = x - n * kPio2Part1;  // exact
  const long double w = n * kPio2Part2;       // exact
  const long double y = r0 - w;
  if (std::fabs(y) < 0x1p-16L) return false;
  const long double tail = (r0 - y) - w;      // the rounding error of y
  r = y + (tail - n * kPio2Part3);
  quadrant = static_cast<unsigned>(static_cast<long long>(n)) & 3u;
  return true;
}

long double Sine(long double x) {
  long double r;
  unsigned q;
  if (std::fabs(x) <= 0.78L || !ReduceQuarterPi(x, r, q)) return std::sin(x);
  const long double v = (q & 1) ? std::cos(r) : std::sin(r);
  return (q & 2) ? -v : v;
}

long double Cosine(long double x) {
  long double r;
  unsigned q;
  if (std::fabs(x) <= 0.78L || !ReduceQuarterPi(x, r, q)) return std::cos(x);
  const long double v = (q & 1) ? std::sin(r) : std::cos(r);
  return ((q + 1) & 2) ? -v : v;
}

long double Tangent(long double x) {
  long double r;
  unsigned q;
  if (std::fabs(x) <= 0.78L || !ReduceQuarterPi(x, r, q)) return std::tan(x);
  return (q & 1) ? -1 / std::tan(r) : std::tan(r);
}

// Bits of n from the lowest: multiply for a set bit, square before the next
// bit, so no squaring after the highest bit can overflow needlessly.
long double IntPower(long double base, std::int32_t n) {
  std::uint32_t m = n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
  long double r = 1, x = base;
  for (;;) {
    if (m & 1) r *= x;
    m >>= 1;
    if (!m) break;
    x *= x;
  }
  return n < 0 ? 1 / r : r;
}

// Power with an exponent that is no whole number of 32 bits (or is zero).
inline long double RealPower(long double base, long double e) {
  if (base == 0 && e > 0) return 0;
  return std::exp(e * std::log(base));
}

inline long double PowerOfInt(long double base, std::int32_t n) {
  if (n == 0) return 1;
  if (base == 0 && n > 0) return 0;
  // The loop's products for the small exponents written out, inline (its
  // first product 1*x is x itself).
  switch (n) {
    case 2: return base * base;
    case 3: return base * (base * base);
    case 4: {
      const long double square = base * base;
      return square * square;
    }
    case 5: {
      const long double square = base * base;
      return base * (square * square);
    }
    default: return IntPower(base, n);
  }
}

long double GeneralPower(long double base, long double e) {
  if (e == 0) return 1;
  if (base == 0 && e > 0) return 0;
  if (e == std::trunc(e) && std::fabs(e) <= kMaxInt32) return IntPower(base, static_cast<std::int32_t>(e));
  return std::exp(e * std::log(base));
}

// The hyperbolic functions are formed from e^L and e^-L as written. When one
// of them overflows, that is the error: the infinity is passed on without
// forming inf/inf, which would raise invalid operation on top.
struct TExpPair {
  long double p, m;
  bool overflow;
};
inline TExpPair ExpPair(long double x) {
  const long double p = std::exp(x), m = std::exp(-x);
  return {p, m, std::isinf(p) || std::isinf(m)};
}

long double Function(TCalcOp op, long double x) {
  switch (op) {
    case TCalcOp::Cos: return std::fabs(x) >= kTwoTo63 ? 0 : Cosine(x);
    case TCalcOp::Sin: return std::fabs(x) >= kTwoTo63 ? 0 : Sine(x);
    case TCalcOp::Tg: return std::fabs(x) >= kTwoTo63 ? InvalidResult() : Tangent(x);
    case TCalcOp::Ctg: return std::fabs(x) >= kTwoTo63 ? InvalidResult() : 1 / Tangent(x);
    case TCalcOp::Abs: return std::fabs(x);
    case TCalcOp::Sgn: return x > 0 ? 1 : (x < 0 ? -1 : 0);
    case TCalcOp::Sqrt: return std::sqrt(x);
    case TCalcOp::Ln: return std::log(x);
    case TCalcOp::Exp: return std::exp(x);
    case TCalcOp::Arcsin:
    case TCalcOp::Arccos: {
      const long double square = x * x;
      if (std::isinf(square)) return square;  // the overflow is the error
      const long double root = std::sqrt(1 - square);
      return op == TCalcOp::Arcsin ? std::atan2(x, root) : std::atan2(root, x);
    }
    case TCalcOp::Arctg: return std::atan2(x, 1.0L);
    case TCalcOp::Arcctg: return kHalfPi - std::atan2(x, 1.0L);
    case TCalcOp::Sh: {
      const TExpPair e = ExpPair(x);
      return (e.p - e.m) / 2;
    }
    case TCalcOp::Ch: {
      const TExpPair e = ExpPair(x);
      return (e.p + e.m) / 2;
    }
    case TCalcOp::Th: {
      const TExpPair e = ExpPair(x);
      return e.overflow ? e.p + e.m : (e.p - e.m) / (e.p + e.m);
    }
    case TCalcOp::Cth: {
      const TExpPair e = ExpPair(x);
      return e.overflow ? e.p + e.m : (e.p + e.m) / (e.p - e.m);
    }
    case TCalcOp::Heaviside: return x >= 0 ? 1 : 0;
    default: return x;
  }
}

[[noreturn]] void NoValue() { throw Exception("Variable without a value."); }

constexpr long double kNoResult = std::numeric_limits<long double>::quiet_NaN();

// Rows evaluated between two looks at the status flags in a batch.
constexpr std::size_t kBatchBlock = 64;

TCalcOp Shifted(TCalcOp base, int offset) { return static_cast<TCalcOp>(static_cast<int>(base) + offset); }

// Fusion of two neighbouring instructions into a, when a pattern fits:
//   Variable v, AddNumber c (and -, *, /)   -> VarPlusNum        push v+c (v-c as v+(-c))
//   Variable v, PowerInt n                  -> VarPowerInt       push v^n
//   MulVariable v, AddNumber c (and -)      -> MulVariableAddNumber  top*v+c
//   VarPlusNum (and *, /), Mul (and Div)    -> MulVarPlusNum     top*(v+c)
//   VarPowerInt, Mul                        -> MulVarPowerInt    top*v^n
//   Number c, MulVariable v                 -> NumTimesVar       push c*v
//   Number c, MulVarPowerInt                -> NumTimesVarPowerInt  push c*v^n
//   VarPlusNum, MulVarPlusNum (and Div)     -> SumTimesSum       push (v+a)*(w+b)
//   Variable v, DivVarPlusNum               -> VarOverSum        push v/(w+b)
//   VarTimesNum, AddNumber b (and -)        -> ProductPlusNum    push v*a+b
// The two-literal forms keep their second literal as a float, so only when
// a float holds it exactly. A push directly before a binary operation is
// always its right operand.
bool FloatHolds(long double v) {
  return std::fabs(v) <= std::numeric_limits<float>::max() && static_cast<long double>(static_cast<float>(v)) == v;
}

bool Fusable(TCalcInstr& a, const TCalcInstr& b) {
  using O = TCalcOp;
  const bool addsNumber = b.op == O::AddNumber || b.op == O::SubNumber;
  const long double addend = b.op == O::SubNumber ? -b.value : b.value;
  auto become = [&](O op) {
    a.op = op;
    return true;
  };
  switch (a.op) {
    case O::Variable:
      if (addsNumber) {
        a.value = addend;
        return become(O::VarPlusNum);
      }
      if (b.op == O::MulNumber || b.op == O::DivNumber) {
        a.value = b.value;
        return become(b.op == O::MulNumber ? O::VarTimesNum : O::VarOverNum);
      }
      if (b.op == O::PowerInt) {
        a.arg2 = b.arg;
        return become(O::VarPowerInt);
      }
      if (b.op == O::DivVarPlusNum) {
        a.arg2 = b.arg;
        a.value = b.value;
        return become(O::VarOverSum);
      }
      return false;
    case O::MulVariable:
      if (!addsNumber) return false;
      a.value = b.value;
      return become(b.op == O::AddNumber ? O::MulVariableAddNumber : O::MulVariableSubNumber);
    case O::VarPlusNum:
      if ((b.op == O::MulVarPlusNum || b.op == O::DivVarPlusNum) && FloatHolds(b.value)) {
        a.arg2 = b.arg;
        a.value2 = static_cast<float>(b.value);
        return become(b.op == O::MulVarPlusNum ? O::SumTimesSum : O::SumOverSum);
      }
      [[fallthrough]];
    case O::VarOverNum:
      if (b.op != O::Mul && b.op != O::Div) return false;
      return become(Shifted(b.op == O::Mul ? O::MulVarPlusNum : O::DivVarPlusNum,
                            static_cast<int>(a.op) - static_cast<int>(O::VarPlusNum)));
    case O::VarTimesNum:
      if (addsNumber && FloatHolds(addend)) {
        a.value2 = static_cast<float>(addend);
        return become(O::ProductPlusNum);
      }
      if (b.op != O::Mul && b.op != O::Div) return false;
      return become(b.op == O::Mul ? O::MulVarTimesNum : O::DivVarTimesNum);
    case O::VarPowerInt:
      return b.op == O::Mul && become(O::MulVarPowerInt);
    case O::Number:
      if (b.op != O::MulVariable && b.op != O::MulVarPowerInt) return false;
      a.arg = b.arg;
      a.arg2 = b.arg2;
      return become(b.op == O::MulVariable ? O::NumTimesVar : O::NumTimesVarPowerInt);
    default:
      return false;
  }
}

}  // namespace

void TCalcProgram::Clear() {
  FCode.clear();
  FBadNumbers.clear();
  FDepth = FMaxDepth = 0;
  FMinVariable = std::numeric_limits<std::int32_t>::max();
  FMaxVariable = -1;
}

void TCalcProgram::Emit(TCalcOp op, std::int32_t arg, long double value) {
  FCode.push_back({op, arg, 0, 0.0f, value});
}

bool TCalcProgram::LastIsLeaf() const {
  // A right operand ends with its operator unless it is a single leaf, so a
  // push as the last instruction is the whole right operand.
  return !FCode.empty() && (FCode.back().op == TCalcOp::Number || FCode.back().op == TCalcOp::Variable);
}

void TCalcProgram::PushNumber(std::string_view literal) {
  try {
    Emit(TCalcOp::Number, 0, TextToNumberUnguarded(literal));
  } catch (const EConvertError& e) {
    Emit(TCalcOp::BadNumber, static_cast<std::int32_t>(FBadNumbers.size()));
    FBadNumbers.push_back(e.Message());
  }
  if (++FDepth > FMaxDepth) FMaxDepth = FDepth;
}

void TCalcProgram::PushVariable(std::int32_t position) {
  Emit(TCalcOp::Variable, position);
  if (position < FMinVariable) FMinVariable = position;
  if (position > FMaxVariable) FMaxVariable = position;
  if (++FDepth > FMaxDepth) FMaxDepth = FDepth;
}

void TCalcProgram::Binary(std::int32_t kind) {
  const int k = kind - ckAdd;  // 0..3 for + - * /
  if (LastIsLeaf()) {
    TCalcInstr& last = FCode.back();
    const bool number = last.op == TCalcOp::Number;
    last.op = static_cast<TCalcOp>(static_cast<int>(number ? TCalcOp::AddNumber : TCalcOp::AddVariable) + k);
  } else {
    Emit(static_cast<TCalcOp>(static_cast<int>(TCalcOp::Add) + k));
  }
  --FDepth;
}

void TCalcProgram::Power() {
  if (LastIsLeaf()) {
    TCalcInstr& last = FCode.back();
    if (last.op == TCalcOp::Variable) {
      last.op = TCalcOp::PowerVariable;
    } else {
      const long double e = last.value;
      if (e == std::trunc(e) && std::fabs(e) <= kMaxInt32) {
        last.op = TCalcOp::PowerInt;
        last.arg = static_cast<std::int32_t>(e);
      } else {
        last.op = TCalcOp::PowerReal;
      }
    }
  } else {
    Emit(TCalcOp::PowerStack);
  }
  --FDepth;
}

void TCalcProgram::Unary(std::int32_t kind) {
  Emit(kind == ckNegate ? TCalcOp::Negate
                        : static_cast<TCalcOp>(static_cast<int>(TCalcOp::Cos) + (kind - ckCos)));
}

// Each instruction is appended, then merged with the one before as long as
// a pattern fits, so fused instructions fuse further (x^3 then *).
void TCalcProgram::Fuse() {
  std::vector<TCalcInstr> fused;
  fused.reserve(FCode.size());
  for (const TCalcInstr& in : FCode) {
    fused.push_back(in);
    while (fused.size() >= 2 && Fusable(fused[fused.size() - 2], fused.back())) fused.pop_back();
  }
  FCode = std::move(fused);
}

void TCalcProgram::Finish() {
  if (FFusion) Fuse();
  FStack.assign(static_cast<std::size_t>(FMaxDepth) + 1, 0.0L);
}

template <bool Checked>
long double TCalcProgram::Execute(std::span<const long double> values) {
  // The top of the stack lives in a local; the array holds what lies below.
  // Slot 0 takes the meaningless "top" that the first push saves.
  long double* sp = FStack.data();
  long double top = 0;
  const std::size_t count = values.size();
  auto value = [&](std::int32_t i) -> long double {
    if constexpr (Checked)
      if (i < 0 || static_cast<std::size_t>(i) >= count) NoValue();
    return values.data()[i];
  };
  // Between the parts of a fused instruction, where the plain program would
  // have ended one instruction and begun the next.
  auto boundary = [](long double& v) {
    if constexpr (Checked) {
      Settle(v);
      TFloatEnvGuard::Check();
    } else {
      (void)v;
    }
  };
  long double r;
  for (const TCalcInstr& in : FCode) {
    switch (in.op) {
      case TCalcOp::Number: *sp++ = top; top = in.value; break;
      case TCalcOp::Variable: *sp++ = top; top = value(in.arg); break;
      case TCalcOp::BadNumber:
        TFloatEnvGuard::Check();  // an earlier fault comes first
        throw EConvertError(FBadNumbers[static_cast<std::size_t>(in.arg)]);
      case TCalcOp::Add: top = *--sp + top; break;
      case TCalcOp::Sub: top = *--sp - top; break;
      case TCalcOp::Mul: top = *--sp * top; break;
      case TCalcOp::Div: top = *--sp / top; break;
      case TCalcOp::PowerStack: top = GeneralPower(*--sp, top); break;
      case TCalcOp::AddNumber: top += in.value; break;
      case TCalcOp::SubNumber: top -= in.value; break;
      case TCalcOp::MulNumber: top *= in.value; break;
      case TCalcOp::DivNumber: top /= in.value; break;
      case TCalcOp::PowerInt: top = PowerOfInt(top, in.arg); break;
      case TCalcOp::PowerReal: top = RealPower(top, in.value); break;
      case TCalcOp::AddVariable: top += value(in.arg); break;
      case TCalcOp::SubVariable: top -= value(in.arg); break;
      case TCalcOp::MulVariable: top *= value(in.arg); break;
      case TCalcOp::DivVariable: top /= value(in.arg); break;
      case TCalcOp::PowerVariable: top = GeneralPower(top, value(in.arg)); break;
      case TCalcOp::Negate: top = -top; break;
      // The commonest functions directly, the rest through one more switch.
      case TCalcOp::Sin: top = std::fabs(top) >= kTwoTo63 ? 0 : Sine(top); break;
      case TCalcOp::Cos: top = std::fabs(top) >= kTwoTo63 ? 0 : Cosine(top); break;
      case TCalcOp::Ln: top = std::log(top); break;
      case TCalcOp::Exp: top = std::exp(top); break;
      case TCalcOp::Sqrt: top = std::sqrt(top); break;
      case TCalcOp::VarPlusNum: *sp++ = top; top = value(in.arg) + in.value; break;
      case TCalcOp::VarTimesNum: *sp++ = top; top = value(in.arg) * in.value; break;
      case TCalcOp::VarOverNum: *sp++ = top; top = value(in.arg) / in.value; break;
      case TCalcOp::MulVarPlusNum: r = value(in.arg) + in.value; boundary(r); top *= r; break;
      case TCalcOp::MulVarTimesNum: r = value(in.arg) * in.value; boundary(r); top *= r; break;
      case TCalcOp::MulVarOverNum: r = value(in.arg) / in.value; boundary(r); top *= r; break;
      case TCalcOp::DivVarPlusNum: r = value(in.arg) + in.value; boundary(r); top /= r; break;
      case TCalcOp::DivVarTimesNum: r = value(in.arg) * in.value; boundary(r); top /= r; break;
      case TCalcOp::DivVarOverNum: r = value(in.arg) / in.value; boundary(r); top /= r; break;
      case TCalcOp::SumTimesSum:
      case TCalcOp::SumOverSum: {
        *sp++ = top;
        top = value(in.arg) + in.value;
        boundary(top);
        r = value(in.arg2) + static_cast<long double>(in.value2);
        boundary(r);
        if (in.op == TCalcOp::SumTimesSum) top *= r; else top /= r;
        break;
      }
      case TCalcOp::VarOverSum:
        *sp++ = top;
        top = value(in.arg);
        r = value(in.arg2) + in.value;
        boundary(r);
        top /= r;
        break;
      case TCalcOp::ProductPlusNum:
        *sp++ = top;
        top = value(in.arg) * in.value;
        boundary(top);
        top += static_cast<long double>(in.value2);
        break;
      case TCalcOp::MulVariableAddNumber: top *= value(in.arg); boundary(top); top += in.value; break;
      case TCalcOp::MulVariableSubNumber: top *= value(in.arg); boundary(top); top -= in.value; break;
      case TCalcOp::VarPowerInt: *sp++ = top; top = PowerOfInt(value(in.arg), in.arg2); break;
      case TCalcOp::MulVarPowerInt: r = PowerOfInt(value(in.arg), in.arg2); boundary(r); top *= r; break;
      case TCalcOp::NumTimesVar: *sp++ = top; top = in.value * value(in.arg); break;
      case TCalcOp::NumTimesVarPowerInt:
        *sp++ = top;
        r = PowerOfInt(value(in.arg), in.arg2);
        boundary(r);
        top = in.value * r;
        break;
      default: top = Function(in.op, top); break;
    }
    if constexpr (Checked) {
      Settle(top);
      TFloatEnvGuard::Check();
    }
  }
  Settle(top);
  return top;
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
