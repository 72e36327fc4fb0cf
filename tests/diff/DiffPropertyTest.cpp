// The mathematics of the derivative, independently of its text: for seeded
// random formulas in x, the derivative evaluated by the calculator must
// match a central difference of the formula evaluated by the calculator,
// wherever both are defined and the difference is well-conditioned.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "DiffTestUtil.h"
#include "calc/CalcExpress.h"

namespace {

class TFormulaGenerator {
public:
  explicit TFormulaGenerator(unsigned seed) : FRandom(seed) {}

  std::string Formula(int depth) {
    if (depth == 0 || Pick(5) == 0) return Leaf();
    switch (Pick(9)) {
      case 0: return "(" + Formula(depth - 1) + "+" + Formula(depth - 1) + ")";
      case 1: return "(" + Formula(depth - 1) + "-" + Formula(depth - 1) + ")";
      case 2: return "(" + Formula(depth - 1) + "*" + Formula(depth - 1) + ")";
      case 3: return "(" + Formula(depth - 1) + "/" + Formula(depth - 1) + ")";
      case 4: return "(-" + Formula(depth - 1) + ")";
      case 5: {
        static const char* exponents[] = {"2", "3", "0.5", "1.5", "(-1)", "(-2)", "2.5", "0"};
        return "(" + Formula(depth - 1) + ")^" + exponents[Pick(8)];
      }
      default: {
        static const char* functions[] = {"cos", "sin",    "tg",     "ctg",   "abs",    "sgn",
                                          "sqrt", "ln",    "exp",    "arcsin", "arccos", "arctg",
                                          "arcctg", "sh",  "ch",     "th",    "cth",    "heaviside",
                                          "sign", "h"};
        return std::string(functions[Pick(20)]) + "(" + Formula(depth - 1) + ")";
      }
    }
  }

private:
  unsigned Pick(unsigned n) { return FRandom() % n; }
  std::string Leaf() {
    static const char* leaves[] = {"x", "x", "x", "2", "3", "0.5", "1.5", "0.25"};
    return leaves[Pick(8)];
  }
  std::mt19937 FRandom;
};

// The value of text at x, or NaN where it is undefined.
long double Evaluate(TCalcExpress& calc, long double x) {
  const long double values[] = {x};
  try {
    return calc.Calculate(values);
  } catch (const Exception&) {
    return std::nanl("");
  }
}

bool Usable(long double v) { return std::isfinite(v) && std::fabs(v) < 1e8L; }

TEST(DiffProperty, DerivativeMatchesCentralDifference) {
  constexpr int kFormulas = 4000;
  const long double points[] = {0.3L, 0.7L, 1.3L, 2.1L};
  int compared = 0, formulasCompared = 0, notDifferentiable = 0, unreadable = 0;
  TFormulaGenerator generator(20240917);
  TCalcExpress f, df;
  f.SetVariables({"x"});
  df.SetVariables({"x"});
  for (int i = 0; i < kFormulas; ++i) {
    const std::string formula = generator.Formula(1 + i % 4);
    const std::string derivative = Derive(formula);
    if (derivative[0] == '!') {
      ++notDifferentiable;
      continue;
    }
    f.SetFormula(formula);
    df.SetFormula(derivative);
    bool any = false;
    for (const long double x : points) {
      const long double d = Evaluate(df, x);
      if (std::isnan(d) && std::isnan(Evaluate(df, x + 0.125L))) {
        // Never defined: either a text the calculator cannot read, or a
        // derivative undefined near x as well; tell the two apart.
        try {
          const long double at[] = {x};
          df.Calculate(at);
        } catch (const Exception& e) {
          if (e.Message() == "Error in formula.") {
            ++unreadable;
            ADD_FAILURE() << "calculator cannot read the derivative " << derivative << " of " << formula;
            break;
          }
        }
      }
      // Two step sizes must agree, else the point is too close to a kink,
      // a jump or a singularity for the difference to mean anything.
      const long double h1 = 1e-5L, h2 = 5e-6L;
      const long double fd1 = (Evaluate(f, x + h1) - Evaluate(f, x - h1)) / (2 * h1);
      const long double fd2 = (Evaluate(f, x + h2) - Evaluate(f, x - h2)) / (2 * h2);
      if (!Usable(d) || !Usable(fd1) || !Usable(fd2)) continue;
      const long double scale = std::max(1.0L, std::fabs(fd2));
      if (std::fabs(fd1 - fd2) > 1e-9L * scale) continue;
      EXPECT_NEAR(static_cast<double>(d), static_cast<double>(fd2), static_cast<double>(1e-8L * scale))
          << "formula " << formula << " derivative " << derivative << " at x = " << static_cast<double>(x);
      ++compared;
      any = true;
    }
    formulasCompared += any;
  }
  std::printf("compared %d points of %d formulas; %d formulas not differentiable, %d unreadable\n", compared,
              formulasCompared, notDifferentiable, unreadable);
  RecordProperty("compared_points", compared);
  RecordProperty("compared_formulas", formulasCompared);
  EXPECT_GT(formulasCompared, kFormulas / 2);
}

}  // namespace
