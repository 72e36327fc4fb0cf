// mingw's logl and expl answer a pole or an overflow with an infinity and a
// NaN for a negative logarithm, setting errno but no floating-point flag. The
// evaluator learns of faults from the flags alone, so on Linux ln(0), ln(-1)
// and exp(12000) are errors while here they would print "-INF", "NAN" and
// "INF". The linker routes every call of the two through these wrappers
// (--wrap), which raise the flag that the C library on Linux raises.

#include <cfloat>
#include <cmath>

extern "C" {
long double __real_logl(long double x);
long double __real_expl(long double x);
long double __wrap_logl(long double x);
long double __wrap_expl(long double x);
}

namespace {

volatile long double gZero = 0, gOne = 1, gMax = LDBL_MAX;

void RaiseInvalid() { volatile long double r = gZero / gZero; (void)r; }
void RaiseZeroDivide() { volatile long double r = gOne / gZero; (void)r; }
void RaiseOverflow() { volatile long double r = gMax * gMax; (void)r; }

}  // namespace

long double __wrap_logl(long double x) {
  const long double r = __real_logl(x);
  if (std::isnan(r) && !std::isnan(x))
    RaiseInvalid();
  else if (std::isinf(r) && std::isfinite(x))
    RaiseZeroDivide();
  return r;
}

long double __wrap_expl(long double x) {
  const long double r = __real_expl(x);
  if (std::isinf(r) && std::isfinite(x)) RaiseOverflow();
  return r;
}
