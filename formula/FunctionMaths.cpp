#include "formula/FunctionMaths.h"

#include <cmath>

#include "runtime/FloatEnv.h"

namespace {

constexpr long double kHalfPi = 1.570796326794896619231321691639751442L;
// Beyond 2^63 the periodic functions carry no information.
constexpr long double kTwoTo63 = 9223372036854775808.0L;

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
  quadrant = static_cast<unsigned>(std::llrint(n)) & 3u;  // n is whole: no rounding, no control word written
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

// The table's values, outside any run, take a pair of their own.
long double WithOwnPair(long double (*evaluate)(long double, TExpPairs&), long double x) {
  TExpPairs own;
  return evaluate(x, own);
}

// Folding takes the library's functions directly, every step checked.
long double LibraryCos(long double x) { return std::fabs(x) >= kTwoTo63 ? 0 : std::cos(x); }
long double LibrarySin(long double x) { return std::fabs(x) >= kTwoTo63 ? 0 : std::sin(x); }

struct TCheckedExpPair {
  long double p, m;
};
TCheckedExpPair CheckedExpPair(long double x) { return {CheckedStep(std::exp(x)), CheckedStep(std::exp(-x))}; }

// arcsin and arccos from the root of 1 - x^2, as the evaluator forms them.
long double ArcOfRoot(long double x, bool sine) {
  const long double square = x * x;
  if (std::isinf(square)) return square;  // the overflow is the error
  const long double root = std::sqrt(1 - square);
  return sine ? std::atan2(x, root) : std::atan2(root, x);
}

long double FoldArc(long double x, bool sine) {
  if (std::fabs(x) > 1) TFloatEnvGuard::Throw(TFloatEnvGuard::kInvalid);
  const long double c = CheckedStep(std::sqrt(1 - x * x));
  return CheckedStep(sine ? std::atan2(x, c) : std::atan2(c, x));
}

}  // namespace

long double EvalCos(long double x) { return std::fabs(x) >= kTwoTo63 ? 0 : Cosine(x); }
long double EvalSin(long double x) { return std::fabs(x) >= kTwoTo63 ? 0 : Sine(x); }
long double EvalTg(long double x) { return std::fabs(x) >= kTwoTo63 ? InvalidResult() : Tangent(x); }
long double EvalCtg(long double x) { return std::fabs(x) >= kTwoTo63 ? InvalidResult() : 1 / Tangent(x); }
long double EvalAbs(long double x) { return std::fabs(x); }
long double EvalSgn(long double x) { return x > 0 ? 1 : (x < 0 ? -1 : 0); }
long double EvalSqrt(long double x) { return std::sqrt(x); }
long double EvalLn(long double x) { return std::log(x); }
long double EvalExp(long double x) { return std::exp(x); }
long double EvalArcsin(long double x) { return ArcOfRoot(x, true); }
long double EvalArccos(long double x) { return ArcOfRoot(x, false); }
long double EvalArctg(long double x) { return std::atan2(x, 1.0L); }
long double EvalArcctg(long double x) { return kHalfPi - std::atan2(x, 1.0L); }

// The hyperbolic functions are formed from e^L and e^-L as written. When one
// of them overflows, that is the error: the infinity is passed on without
// forming inf/inf, which would raise invalid operation on top. Only a pair
// that did not overflow is kept, so a kept pair never stands for a fault,
// however its run reads the flags.
TExpPair TExpPairs::Of(long double x) {
  if (x == FLastX) return FLast;
  const long double p = std::exp(x), m = std::exp(-x);
  const TExpPair pair{p, m, std::isinf(p) || std::isinf(m)};
  if (!pair.overflow) {
    FLastX = x;
    FLast = pair;
  }
  return pair;
}

long double EvalSh(long double x, TExpPairs& pairs) {
  const TExpPair e = pairs.Of(x);
  return (e.p - e.m) / 2;
}

long double EvalCh(long double x, TExpPairs& pairs) {
  const TExpPair e = pairs.Of(x);
  return (e.p + e.m) / 2;
}

long double EvalTh(long double x, TExpPairs& pairs) {
  const TExpPair e = pairs.Of(x);
  return e.overflow ? e.p + e.m : (e.p - e.m) / (e.p + e.m);
}

long double EvalCth(long double x, TExpPairs& pairs) {
  const TExpPair e = pairs.Of(x);
  return e.overflow ? e.p + e.m : (e.p + e.m) / (e.p - e.m);
}

long double EvalSh(long double x) { return WithOwnPair(EvalSh, x); }
long double EvalCh(long double x) { return WithOwnPair(EvalCh, x); }
long double EvalTh(long double x) { return WithOwnPair(EvalTh, x); }
long double EvalCth(long double x) { return WithOwnPair(EvalCth, x); }

long double EvalHeaviside(long double x) { return x >= 0 ? 1 : 0; }

long double FoldCos(long double x) { return LibraryCos(x); }
long double FoldSin(long double x) { return LibrarySin(x); }
long double FoldTg(long double x) { return CheckedStep(LibrarySin(x) / LibraryCos(x)); }
long double FoldCtg(long double x) { return CheckedStep(LibraryCos(x) / LibrarySin(x)); }
long double FoldArcsin(long double x) { return FoldArc(x, true); }
long double FoldArccos(long double x) { return FoldArc(x, false); }
long double FoldArctg(long double x) { return std::atan(x); }
long double FoldArcctg(long double x) { return kHalfPi - std::atan(x); }

long double FoldSh(long double x) {
  const TCheckedExpPair e = CheckedExpPair(x);
  return CheckedStep((e.p - e.m) / 2);
}

long double FoldCh(long double x) {
  const TCheckedExpPair e = CheckedExpPair(x);
  return CheckedStep((e.p + e.m) / 2);
}

long double FoldTh(long double x) {
  const TCheckedExpPair e = CheckedExpPair(x);
  return CheckedStep((e.p - e.m) / (e.p + e.m));
}

long double FoldCth(long double x) {
  const TCheckedExpPair e = CheckedExpPair(x);
  return CheckedStep((e.p + e.m) / (e.p - e.m));
}

// A step's result that is not finite raises the error of its fault: not-a-number
// comes only from an invalid operation, an infinity from a division by zero
// (an exact infinity such as 1/0 or ln 0) or from an overflow, which the
// status flags tell apart. Each step is checked on its own, so the first
// fault decides, as it would with the faults unmasked. A flag raised on the
// way to a finite result (atan2(1, 0) flags a division by zero) may stay
// behind; it cannot mislead, since an overflow is always told by its own
// flag.
void RaiseStepFault(long double value) {
  if (std::isnan(value)) TFloatEnvGuard::Throw(TFloatEnvGuard::kInvalid);
  const unsigned faults = TFloatEnvGuard::Raised();
  const bool zeroDivide = (faults & TFloatEnvGuard::kZeroDivide) && !(faults & TFloatEnvGuard::kOverflow);
  TFloatEnvGuard::Throw(zeroDivide ? TFloatEnvGuard::kZeroDivide : TFloatEnvGuard::kOverflow);
}
