// Bulk evaluation against one Calculate per row, and fused programs against
// plain ones: results bit for bit, errors by message, in every row.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "calc/CalcExpress.h"
#include "calc/CalcParser.h"
#include "calc/NumberText.h"
#include "runtime/Exception.h"
#include "runtime/FloatEnv.h"

namespace {

// A row's outcome: the result's ten significant bytes, or the message.
std::string Bits(long double v) { return std::string(reinterpret_cast<const char*>(&v), 10); }

std::string Single(TCalcExpress& calc, std::span<const long double> row) {
  try {
    return Bits(calc.Calculate(row));
  } catch (const Exception& e) {
    return e.Message();
  }
}

std::string Plain(TCalcProgram& program, std::span<const long double> row) {
  TFloatEnvGuard guard;
  try {
    return Bits(program.Run(row));
  } catch (const Exception& e) {
    return e.Message();
  }
}

std::vector<std::string> Many(TCalcExpress& calc, const std::vector<long double>& values, std::size_t rows) {
  std::vector<long double> results(rows);
  TRowErrors errors;
  calc.CalculateMany(values, results, errors);
  std::vector<std::string> out;
  for (std::size_t row = 0; row < rows; ++row) {
    const std::string* message = errors.Find(row);
    out.push_back(message ? *message : Bits(results[row]));
  }
  return out;
}

// Random formulas over x and y: the operand patterns the program fuses
// (x+2, t*x-3, t/(y*4), x^3, (x+1)/(y-2), x*2+1) come up often, errors in
// some rows too.
class TFormulaMaker {
public:
  explicit TFormulaMaker(unsigned seed) : FRng(seed) {}
  std::string Make(int depth) {
    const unsigned pick = depth <= 0 ? FRng() % 3 : FRng() % 12;
    switch (pick) {
      case 0: return Leaf();
      case 1: return FRng() % 2 ? "x" : "y";
      case 2: return Leaf() == "0" ? "(x-y)" : Variable() + Op() + Number();
      case 3: return Make(depth - 1) + Op() + Make(depth - 1);
      case 4: return "(" + Make(depth - 1) + Op() + Make(depth - 1) + ")";
      case 5: return "(" + Make(depth - 1) + ")*" + Variable() + (FRng() % 2 ? "+" : "-") + Number();
      case 6: return Make(depth - 1) + (FRng() % 2 ? "*(" : "/(") + Variable() + Op() + Number() + ")";
      case 7: return "(" + Make(depth - 1) + ")^" + std::to_string(static_cast<int>(FRng() % 9) - 3);
      case 8: return Variable() + "^" + std::to_string(FRng() % 7) + "*" + Make(depth - 1);
      case 9: return Sum() + (FRng() % 2 ? "*" : "/") + Sum() + Op() + Make(depth - 1);
      case 10: return Variable() + "*" + Number() + (FRng() % 2 ? "+" : "-") + Number() + Op() + Make(depth - 1);
      default: return Function() + "(" + Make(depth - 1) + ")";
    }
  }

private:
  std::string Variable() { return FRng() % 2 ? "x" : "y"; }
  std::string Number() {
    static const char* const numbers[] = {"0", "1", "2", "3", "0.5", "2.5", "1e3000", "7e-3", "1e5000"};
    return numbers[FRng() % std::size(numbers)];
  }
  std::string Leaf() { return FRng() % 3 ? Number() : Variable(); }
  std::string Sum() { return "(" + Variable() + (FRng() % 2 ? "+" : "-") + Number() + ")"; }
  std::string Op() { return std::string(1, "+-*/"[FRng() % 4]); }
  std::string Function() {
    static const char* const names[] = {"sin", "cos", "ln", "exp", "sqrt", "tg", "th", "abs", "arcsin", "ch"};
    return names[FRng() % std::size(names)];
  }
  std::mt19937 FRng;
};

TEST(CalcMany, AgreesWithCalculateAndWithThePlainProgram) {
  TFormulaMaker maker(2024);
  std::mt19937 rng(99);
  const long double pool[] = {0, 1, -1, 0.5L, 3, -2.5L, 1e-3L, 2, 1e3000L, -7.25L, 0.7L};
  const std::vector<std::string> names{"x", "y"};
  const std::size_t rows = 150;  // more than two blocks between looks at the flags
  int failingRows = 0;
  std::set<TCalcOp> seen;
  for (int n = 0; n < 400; ++n) {
    const std::string formula = maker.Make(4);
    TCalcExpress calc;
    calc.SetVariables(names);
    calc.SetFormula(formula);
    TCalcProgram plain, fused;
    plain.SetFusion(false);
    {
      TFloatEnvGuard guard;
      TCalcParser::Parse(formula, names, DecimalSeparator(), plain);
      TCalcParser::Parse(formula, names, DecimalSeparator(), fused);
    }
    for (std::size_t i = 0; i < fused.Size(); ++i) seen.insert(fused[i].op);
    std::vector<long double> values;
    for (std::size_t i = 0; i < 2 * rows; ++i) values.push_back(pool[rng() % std::size(pool)]);
    const auto many = Many(calc, values, rows);
    for (std::size_t row = 0; row < rows; ++row) {
      const std::span<const long double> rowValues(values.data() + 2 * row, 2);
      const std::string single = Single(calc, rowValues);
      EXPECT_EQ(many[row], single) << formula << " row " << row;
      if (!plain.Empty()) {
        EXPECT_EQ(Plain(plain, rowValues), single) << formula << " row " << row;
      }
      failingRows += single.size() != 10;
    }
  }
  EXPECT_GT(failingRows, 1000);  // the errors are exercised, not only values
  for (int op = static_cast<int>(TCalcOp::VarPlusNum); op <= static_cast<int>(TCalcOp::NumTimesVarPowerInt); ++op)
    EXPECT_TRUE(seen.count(static_cast<TCalcOp>(op))) << "no formula has the fused instruction " << op;
}

TEST(CalcMany, FailingRowsInTheMiddleOfABatch) {
  const std::size_t rows = 200;
  std::vector<long double> xs(rows);
  for (std::size_t i = 0; i < rows; ++i) xs[i] = static_cast<long double>(i);
  struct TExpect {
    const char* formula;
    std::size_t firstFailing, lastFailing;
    std::vector<std::size_t> alsoFailing;
    const char* message;
  } const expects[] = {
      {"1/(x-63)", 63, 63, {}, "Gleitkommadivision durch Null"},
      {"sqrt(x-64)*0+1/(x-130)", 0, 63, {130}, nullptr},  // invalid below 64, division at 130
      {"y", 0, rows - 1, {}, "Variable without a value."},
      {"1e5000*x", 0, rows - 1, {}, "'1e5000' ist kein g\xFCltiger Gleitkommawert"},
      {"x/0+1e5000", 0, rows - 1, {}, nullptr},  // 0/0 at row 0, then 1/0: the first error each
      {"2+", 0, rows - 1, {}, "Error in formula."},
  };
  for (const TExpect& e : expects) {
    TCalcExpress calc;
    calc.SetVariables({"x"});
    calc.SetFormula(e.formula);
    std::vector<long double> results(rows);
    TRowErrors errors;
    calc.CalculateMany(xs, results, errors);
    std::vector<std::size_t> failing;
    for (const TRowError& error : errors) failing.push_back(error.row);
    std::vector<std::size_t> want;
    for (std::size_t row = e.firstFailing; row <= e.lastFailing; ++row) want.push_back(row);
    want.insert(want.end(), e.alsoFailing.begin(), e.alsoFailing.end());
    EXPECT_EQ(failing, want) << e.formula;
    for (std::size_t row = 0; row < rows; ++row) {
      const long double x[] = {xs[row]};
      const std::string single = Single(calc, x);
      const std::string* message = errors.Find(row);
      EXPECT_EQ(message ? *message : Bits(results[row]), single) << e.formula << " row " << row;
      if (message) {
        EXPECT_TRUE(std::isnan(results[row]));
        if (e.message) {
          EXPECT_EQ(*message, e.message) << e.formula;
        }
      }
    }
  }
}

// Fused instructions whose first part overflows and whose second part would
// then raise invalid operation: the error is the overflow, as the plain
// program reports it between the two instructions.
TEST(CalcMany, FusedInstructionsReportTheFirstErrorOfTheirParts) {
  const long double inf = INFINITY;
  const struct {
    TCalcOp op;
    const char* formula;
    long double x, y;
  } cases[] = {
      {TCalcOp::MulVarPlusNum, "(y*1)*(x+1e4932)", 1e4932L, 0},
      {TCalcOp::MulVarTimesNum, "y*(x*1e4000)", 1e3000L, 0},
      {TCalcOp::MulVarOverNum, "y*(x/1e-4000)", 1e3000L, 0},
      {TCalcOp::DivVarPlusNum, "(y*1)/(x+1e4932)", 1e4932L, inf},
      {TCalcOp::DivVarTimesNum, "y/(x*1e4000)", 1e3000L, inf},
      {TCalcOp::DivVarOverNum, "y/(x/1e-4000)", 1e3000L, inf},
      {TCalcOp::SumTimesSum, "(x+1e4932)*(y+0)", 1e4932L, 0},
      {TCalcOp::SumOverSum, "(x+1e4932)/(y+1)", 1e4932L, inf},
      {TCalcOp::VarOverSum, "y/(x+1e4932)", 1e4932L, inf},
      {TCalcOp::MulVarPowerInt, "y*x^2", 1e3000L, 0},
      {TCalcOp::NumTimesVarPowerInt, "0*x^2", 1e3000L, 0},
  };
  const std::vector<std::string> names{"x", "y"};
  for (const auto& c : cases) {
    TCalcProgram plain, fused;
    plain.SetFusion(false);
    {
      TFloatEnvGuard guard;
      TCalcParser::Parse(c.formula, names, DecimalSeparator(), plain);
      TCalcParser::Parse(c.formula, names, DecimalSeparator(), fused);
    }
    bool hasOp = false;
    for (std::size_t i = 0; i < fused.Size(); ++i) hasOp |= fused[i].op == c.op;
    EXPECT_TRUE(hasOp) << c.formula << " is not fused into instruction " << static_cast<int>(c.op);
    const long double row[] = {c.x, c.y};
    EXPECT_EQ(Plain(plain, row), "Gleitkomma\xFC""berlauf") << c.formula;
    EXPECT_EQ(Plain(fused, row), "Gleitkomma\xFC""berlauf") << c.formula;
    TCalcExpress calc;
    calc.SetVariables(names);
    calc.SetFormula(c.formula);
    EXPECT_EQ(Many(calc, {c.x, c.y}, 1)[0], "Gleitkomma\xFC""berlauf") << c.formula;
  }
}

TEST(CalcMany, SizesMustMatch) {
  TCalcExpress calc;
  calc.SetVariables({"x", "y"});
  calc.SetFormula("x+y");
  std::vector<long double> values{1, 2, 3, 4, 5}, results(2);
  TRowErrors errors;
  EXPECT_THROW(calc.CalculateMany(values, results, errors), Exception);
  EXPECT_THROW(calc.CalculateMany(std::span(values).first(3), results, errors), Exception);
  calc.CalculateMany(std::span(values).first(4), results, errors);
  EXPECT_EQ(results, (std::vector<long double>{3, 7}));
  EXPECT_TRUE(errors.Empty());
  calc.CalculateMany({}, {}, errors);  // no rows at all
  calc.SetVariables({});
  calc.SetFormula("2");
  EXPECT_THROW(calc.CalculateMany(values, results, errors), Exception);
  calc.CalculateMany({}, results, errors);  // no variables: rows of nothing
  EXPECT_EQ(results, (std::vector<long double>{2, 2}));
}

}  // namespace

#if defined(__i386__) || defined(__x86_64__)
// A host under control word 0x1332 (faults unmasked, 53-bit precision) with
// sticky flags of its own gets the batch computed at 64 bits without a
// trap, its failing rows as errors, and its state back exactly.
TEST(CalcMany, HostFloatStateAroundABatch) {
  std::uint16_t savedCw;
  std::uint32_t savedMx;
  __asm__ volatile("fnstcw %0" : "=m"(savedCw));
  __asm__ volatile("stmxcsr %0" : "=m"(savedMx));
  const std::uint16_t host = 0x1332;
  const std::uint32_t hostMx = 0x1F80 & ~0x0200u;  // SSE division by zero unmasked
  volatile long double tiny = 1e-4000L;
  __asm__ volatile("fnclex\n\tfldcw %0" : : "m"(host));
  __asm__ volatile("ldmxcsr %0" : : "m"(hostMx));
  tiny = tiny * tiny;  // underflow and inexact, masked, stay pending
  std::uint16_t cw, sw, cwAfter, swAfter;
  std::uint32_t mx, mxAfter;
  __asm__ volatile("fnstcw %0" : "=m"(cw));
  __asm__ volatile("fnstsw %0" : "=am"(sw));
  __asm__ volatile("stmxcsr %0" : "=m"(mx));

  TCalcExpress calc;
  calc.SetVariables({"x"});
  calc.SetFormula("1/x+x/3");
  const std::vector<long double> xs{1, 0, 3, 0};
  std::vector<long double> results(4);
  TRowErrors errors;
  calc.CalculateMany(xs, results, errors);

  __asm__ volatile("fnstcw %0" : "=m"(cwAfter));
  __asm__ volatile("fnstsw %0" : "=am"(swAfter));
  __asm__ volatile("stmxcsr %0" : "=m"(mxAfter));
  __asm__ volatile("fnclex\n\tfldcw %0" : : "m"(savedCw));
  __asm__ volatile("ldmxcsr %0" : : "m"(savedMx));
  EXPECT_EQ(cwAfter, cw);
  EXPECT_EQ(swAfter, sw);
  EXPECT_EQ(mxAfter, mx);
  ASSERT_EQ(errors.Size(), 2u);
  EXPECT_EQ(errors[0].row, 1u);
  EXPECT_EQ(errors[1].row, 3u);
  EXPECT_EQ(results[2], 1.0L / 3 + 1.0L);  // 64-bit precision, not the host's 53
}
#endif
