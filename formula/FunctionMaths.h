#pragma once
// The values of the formula language's functions in the 64-bit significand,
// two ways. The evaluator's (Eval*) let faults show only in the status
// flags, which it reads once per run. The simplifier's constant folding
// (Fold*, where it differs) raises the error of the first step that goes
// wrong, as it would with the faults unmasked. Both run under the caller's
// floating-point guard.

#include <cmath>

using TUnaryMath = long double (*)(long double);

long double EvalCos(long double x);
long double EvalSin(long double x);
long double EvalTg(long double x);
long double EvalCtg(long double x);
long double EvalAbs(long double x);
long double EvalSgn(long double x);
long double EvalSqrt(long double x);
long double EvalLn(long double x);
long double EvalExp(long double x);
long double EvalArcsin(long double x);
long double EvalArccos(long double x);
long double EvalArctg(long double x);
long double EvalArcctg(long double x);
long double EvalSh(long double x);
long double EvalCh(long double x);
long double EvalTh(long double x);
long double EvalCth(long double x);
long double EvalHeaviside(long double x);

// e^x and e^-x, from which sh, ch, th and cth are formed; overflow when
// either is infinite.
struct TExpPair {
  long double p, m;
  bool overflow;
};

// sh, ch, th and cth of one argument often stand side by side (sh(x)/ch(x),
// ch(x)^2-sh(x)^2), so an evaluator keeps the pair of the last argument for
// the next call, for as long as one run lasts. +0 and -0 share the starting
// pair, e^0 = 1 exactly.
class TExpPairs {
public:
  TExpPair Of(long double x);

private:
  long double FLastX = 0;
  TExpPair FLast{1, 1, false};
};

long double EvalSh(long double x, TExpPairs& pairs);
long double EvalCh(long double x, TExpPairs& pairs);
long double EvalTh(long double x, TExpPairs& pairs);
long double EvalCth(long double x, TExpPairs& pairs);

long double FoldCos(long double x);
long double FoldSin(long double x);
long double FoldTg(long double x);
long double FoldCtg(long double x);
long double FoldArcsin(long double x);
long double FoldArccos(long double x);
long double FoldArctg(long double x);
long double FoldArcctg(long double x);
long double FoldSh(long double x);
long double FoldCh(long double x);
long double FoldTh(long double x);
long double FoldCth(long double x);

// The error of a folding step whose result is not finite.
[[noreturn]] void RaiseStepFault(long double value);

// The result of one folding step, once the step has certainly run; a result
// that is not finite raises the error of its fault.
inline long double CheckedStep(long double value) {
  // Keeps the compiler from moving the computation past the flag test.
  __asm__ volatile("" : "+m"(value) : : "memory");
  if (std::isfinite(value)) [[likely]]
    return value;
  RaiseStepFault(value);
}
