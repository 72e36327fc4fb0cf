#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "calc/CalcExpress.h"
#include "calc/NumberText.h"
#include "runtime/Exception.h"

namespace {

enum class TOutcome { Value, NoTree, ZeroDivide, Invalid, Overflow, Convert, NoValue };

const char* OutcomeName(TOutcome o) {
  switch (o) {
    case TOutcome::Value: return "value";
    case TOutcome::NoTree: return "no tree";
    case TOutcome::ZeroDivide: return "division by zero";
    case TOutcome::Invalid: return "invalid operation";
    case TOutcome::Overflow: return "overflow";
    case TOutcome::Convert: return "conversion error";
    case TOutcome::NoValue: return "no value";
  }
  return "?";
}

struct TResult {
  TOutcome outcome = TOutcome::Value;
  long double value = 0;
  std::string message;
};

TResult Outcome(TCalcExpress& calc, std::span<const long double> values) {
  TResult r;
  try {
    r.value = calc.Calculate(values);
  } catch (const EZeroDivide& e) {
    r = {TOutcome::ZeroDivide, 0, e.what()};
  } catch (const EInvalidOp& e) {
    r = {TOutcome::Invalid, 0, e.what()};
  } catch (const EOverflow& e) {
    r = {TOutcome::Overflow, 0, e.what()};
  } catch (const EConvertError& e) {
    r = {TOutcome::Convert, 0, e.what()};
  } catch (const Exception& e) {
    r = {std::string(e.what()) == "Error in formula." ? TOutcome::NoTree : TOutcome::NoValue, 0, e.what()};
  }
  return r;
}

TResult Eval(const std::string& formula, const std::vector<std::string>& names = {},
             std::vector<long double> values = {}) {
  TCalcExpress calc;
  calc.SetVariables(names);
  calc.SetFormula(formula);
  return Outcome(calc, values);
}

struct TCase {
  const char* formula;
  TOutcome outcome;
  long double value;
};

// Exact unless the expected value is transcendental, then within a few ulps.
void ExpectCases(std::span<const TCase> cases, const std::vector<std::string>& names = {"x", "y"},
                 std::vector<long double> values = {0.5L, 2}) {
  for (const TCase& c : cases) {
    const TResult r = Eval(c.formula, names, values);
    EXPECT_EQ(OutcomeName(r.outcome), std::string(OutcomeName(c.outcome))) << c.formula << ": " << r.message;
    if (r.outcome == TOutcome::Value && c.outcome == TOutcome::Value) {
      const long double tolerance = 8 * std::numeric_limits<long double>::epsilon() * std::fabs(c.value);
      EXPECT_NEAR(static_cast<double>(r.value - c.value), 0.0, static_cast<double>(tolerance))
          << c.formula << " gave " << NumberToText(r.value);
    }
  }
}

constexpr auto V = TOutcome::Value;
constexpr auto Syntax = TOutcome::NoTree;
constexpr long double kPi = 3.141592653589793238462643383279502884L;

TEST(CalcExpress, ReadingOfSigns) {
  const TCase cases[] = {
      {"-2^2", V, 4},       {"- 2^2", V, -4},    {"-x^2", V, -0.25L}, {"0-2^2", V, -4},
      {"(-2)^2", V, 4},     {"2*(-3)", V, -6},   {"2-(-3)", V, 5},    {"-+2", V, -2},
      {"+2", V, 2},         {"-2*3", V, -6},     {"-x*y", V, -1},     {"- 2*3+1", V, -5},
      {"(- 2)*3", V, -6},   {"sin(-0)", V, 0},   {"sqrt(-4)", TOutcome::Invalid, 0},
      {"x^(-2)", V, 4},     {"2*-3", Syntax, 0}, {"2--3", Syntax, 0}, {"+-2", Syntax, 0},
      {"--2", Syntax, 0},   {"2+-3", Syntax, 0}, {"-+-2", Syntax, 0}, {"++2", Syntax, 0},
      {"x^-2", Syntax, 0},  {"x^(-y)", Syntax, 0}, {"2^- 2", Syntax, 0}, {"(+-2)", Syntax, 0},
  };
  ExpectCases(cases);
}

TEST(CalcExpress, SyntaxAcceptAndReject) {
  const TCase cases[] = {
      {"", Syntax, 0},          {"   ", Syntax, 0},        {"2+", Syntax, 0},      {"()", Syntax, 0},
      {"(2", Syntax, 0},        {"2)+3", Syntax, 0},       {"(2))", Syntax, 0},    {"((2))", V, 2},
      {"2x", Syntax, 0},        {"2 3", Syntax, 0},        {"x y", Syntax, 0},     {"sin(x)(y)", Syntax, 0},
      {"h", Syntax, 0},         {"sin x", Syntax, 0},      {"sin (x)", V, std::sin(0.5L)},
      {"SIN(X)+Y", V, std::sin(0.5L) + 2},                 {"1e3", V, 1000},       {"1E3", V, 1000},
      {"1e+3", V, 1000},        {"2.5e-3", V, 0.0025L},    {"1e", Syntax, 0},      {"1e+", Syntax, 0},
      {"1ex", Syntax, 0},       {"5.", Syntax, 0},         {"5.e3", Syntax, 0},    {".5", Syntax, 0},
      {"1.2.3", Syntax, 0},     {"2#3", Syntax, 0},        {"2\t+3", Syntax, 0},   {"2,5", Syntax, 0},
      {"2^3^2", V, 64},         {"x^(2)", V, 0.25L},       {"x^(y+1)", Syntax, 0}, {"x^sin(y)", Syntax, 0},
      {"x^(2", Syntax, 0},      {"2^", Syntax, 0},         {"2*", Syntax, 0},      {"*2", Syntax, 0},
      {")", Syntax, 0},         {"e", TOutcome::NoValue, 0}, {"pi", TOutcome::NoValue, 0},
      {"_a1", TOutcome::NoValue, 0},                       {"2 ^ 3", V, 8},        {"a/b*c", TOutcome::NoValue, 0},
      {"8/4/2", V, 1},          {"8-4-2", V, 2},           {"2*3+4*5", V, 26},     {"(2+3)*4", V, 20},
      {"2-3*4", V, -10},        {"2-8/4", V, 0},
      {"x\xFC", Syntax, 0},     {"1e5000", TOutcome::Convert, 0},                  {"1e-5000", V, 0},
      {"1e4000*0", V, 0},       {"0e5000", TOutcome::Convert, 0},
  };
  ExpectCases(cases);
}

TEST(CalcExpress, CommaSeparator) {
  const char old = DecimalSeparator();
  SetDecimalSeparator(',');
  const TCase cases[] = {{"2,5*2", V, 5}, {"2.5", Syntax, 0}, {"1,5e1", V, 15}, {"2,", Syntax, 0}};
  ExpectCases(cases);
  SetDecimalSeparator(old);
}

TEST(CalcExpress, PowerRule) {
  const TCase cases[] = {
      {"0^0", V, 1},        {"0^2", V, 0},         {"0^(-1)", TOutcome::ZeroDivide, 0},
      {"(-2)^2", V, 4},     {"(-2)^3", V, -8},     {"2^(-2)", V, 0.25L},
      {"4^0.5", V, 2},      {"(-8)^0.5", TOutcome::Invalid, 0},
      {"0^(-0.5)", TOutcome::ZeroDivide, 0},       {"0^0.5", V, 0},
      {"2^10", V, 1024},    {"2^2147483647", TOutcome::Overflow, 0},
      {"1^2147483648", V, 1}, {"(-1)^2147483648", TOutcome::Invalid, 0},
      {"(-1)^2147483647", V, -1}, {"(-1)^(-2147483647)", V, -1},
      {"0.5^(-20000)", TOutcome::ZeroDivide, 0},   // the power underflows to 0 before 1/r
      {"(1/0)^0", TOutcome::ZeroDivide, 0},        // the base is evaluated first
      {"y^x", V, std::sqrt(2.0L)},                 {"y^y", V, 4}, {"x^y", V, 0.25L},
      {"(x-x)^y", V, 0},    {"0^x", V, 0},         {"(x-x)^x", V, 0},    {"(x-x)^(x-x)", Syntax, 0},
      {"y^1e5000", TOutcome::Convert, 0},          {"2^1e4000", TOutcome::Overflow, 0},
      {"2^3^2", V, 64},     {"10^(-3)", V, 0.001L},
      {"(-2)^2.0000000000000000003", TOutcome::Invalid, 0},  // whole in 53 bits, not in 64
  };
  ExpectCases(cases);
}

TEST(CalcExpress, FunctionBoundaries) {
  const TCase cases[] = {
      {"sgn(-3)", V, -1},            {"sgn(0)", V, 0},              {"sgn(-0)", V, 0},
      {"sign(5)", V, 1},             {"heaviside(0)", V, 1},        {"h(-0.001)", V, 0},
      {"heaviside(-0)", V, 1},       {"abs(-2.5)", V, 2.5L},
      {"arcsin(1)", V, kPi / 2},     {"arccos(-1)", V, kPi},        {"arccos(1)", V, 0},
      {"arcsin(-1)", V, -kPi / 2},   {"arcsin(1.0001)", TOutcome::Invalid, 0},
      {"arccos(-1.0001)", TOutcome::Invalid, 0},                    {"arcsin(1e3000)", TOutcome::Overflow, 0},
      {"arcctg(0)", V, kPi / 2},     {"arcctg(-1)", V, 3 * kPi / 4}, {"arctg(1)", V, kPi / 4},
      {"arctan(1e4000)", V, kPi / 2},
      {"sqrt(-4)", TOutcome::Invalid, 0}, {"sqrt(6.25)", V, 2.5L},  {"ln(0)", TOutcome::ZeroDivide, 0},
      {"ln(-1)", TOutcome::Invalid, 0},   {"ln(1)", V, 0},          {"exp(1)", V, 2.718281828459045235360287471352662498L},
      {"exp(12000)", TOutcome::Overflow, 0}, {"exp(-12000)", V, 0},
      {"cos(1e30)", V, 0},           {"sin(1e30)", V, 0},           {"sin(-9223372036854775808)", V, 0},
      {"cos(0)", V, 1},              {"tg(1e30)", TOutcome::Invalid, 0}, {"ctg(1e30)", TOutcome::Invalid, 0},
      {"tg(-9223372036854775808)", TOutcome::Invalid, 0},           {"ctg(0)", TOutcome::ZeroDivide, 0},
      {"tg(0)", V, 0},               {"ctg(1)", V, 1 / std::tan(1.0L)},
      {"sh(0)", V, 0},               {"ch(0)", V, 1},               {"th(0)", V, 0},
      {"cth(0)", TOutcome::ZeroDivide, 0},                          {"th(20000)", TOutcome::Overflow, 0},
      {"cth(20000)", TOutcome::Overflow, 0},                        {"tanh(-20000)", TOutcome::Overflow, 0},
      {"sh(11357)", TOutcome::Overflow, 0},                         {"ch(-11357)", TOutcome::Overflow, 0},
      {"th(11356)", V, 1},           {"sh(2)+sh(-2)", V, 0},        {"sinh(1)", V, (std::exp(1.0L) - std::exp(-1.0L)) / 2},
      {"cosh(1)", V, (std::exp(1.0L) + std::exp(-1.0L)) / 2},       {"coth(1)", V, 1 / std::tanh(1.0L)},
  };
  ExpectCases(cases);
}

// Every other name of a function is the same function: equal bits at
// finite points where the functions differ from each other.
TEST(CalcExpress, AliasesAreTheirBase) {
  const char* const pairs[][2] = {{"sign", "sgn"}, {"arctan", "arctg"}, {"sinh", "sh"}, {"cosh", "ch"},
                                  {"tanh", "th"},  {"coth", "cth"},     {"h", "heaviside"}};
  for (const auto& pair : pairs)
    for (const char* argument : {"(x)", "(-x)", "(y)"}) {
      const TResult alias = Eval(std::string(pair[0]) + argument, {"x", "y"}, {0.5L, -2});
      const TResult base = Eval(std::string(pair[1]) + argument, {"x", "y"}, {0.5L, -2});
      ASSERT_EQ(alias.outcome, TOutcome::Value) << pair[0] << argument << ": " << alias.message;
      EXPECT_EQ(alias.value, base.value) << pair[0] << argument;
    }
}

// The evaluator reduces arguments of moderate size itself; it must agree
// with the library's long double functions to a few units in the last place.
TEST(CalcExpress, TrigonometryAgreesWithLibrary) {
  struct TFunction { const char* formula; long double (*reference)(long double); };
  const TFunction functions[] = {
      {"sin(x)", [](long double v) { return std::sin(v); }},
      {"cos(x)", [](long double v) { return std::cos(v); }},
      {"tg(x)", [](long double v) { return std::tan(v); }},
      {"ctg(x)", [](long double v) { return 1 / std::tan(v); }},
  };
  std::mt19937_64 rng(7);
  std::vector<long double> arguments = {0.78L, 0.79L, kPi / 2, kPi, 3 * kPi / 2, 2 * kPi, 1e5L, 1048575.9L, 1048576.5L,
                                        -2.5L, 710.0L, 355.0L, 103993.0L};
  for (int i = 0; i < 3000; ++i) {
    const long double scale = std::ldexp(1.0L, static_cast<int>(rng() % 24) - 1);
    const long double v = scale * static_cast<long double>(rng() >> 11) / 0x1p53L;
    arguments.push_back(i % 2 ? v : -v);
  }
  for (const auto& f : functions) {
    TCalcExpress calc;
    calc.SetVariables({"x"});
    calc.SetFormula(f.formula);
    for (long double x : arguments) {
      const long double value[] = {x};
      const long double got = calc.Calculate(value), want = f.reference(x);
      const long double ulp = std::fabs(want) * std::numeric_limits<long double>::epsilon();
      EXPECT_LE(std::fabs(got - want), 4 * ulp) << f.formula << " at " << NumberToText(x);
    }
  }
}

TEST(CalcExpress, ErrorKindsAndOrder) {
  const TCase cases[] = {
      {"1/0", TOutcome::ZeroDivide, 0},           {"0/0", TOutcome::Invalid, 0},
      {"0/0+1/0", TOutcome::Invalid, 0},          {"1/0+0/0", TOutcome::ZeroDivide, 0},
      {"1e4000*1e4000", TOutcome::Overflow, 0},   {"1e4000*1e4000-1e4000*1e4000", TOutcome::Overflow, 0},
      {"1/0+1e5000", TOutcome::ZeroDivide, 0},    {"1e5000+1/0", TOutcome::Convert, 0},
      {"1/0+z", TOutcome::ZeroDivide, 0},         {"z+1/0", TOutcome::NoValue, 0},
      {"x/(y-2)", TOutcome::ZeroDivide, 0},       {"-1e4000*1e4000", TOutcome::Overflow, 0},
  };
  ExpectCases(cases);
  EXPECT_EQ(Eval("1e5000").message, "'1e5000' ist kein g\xFCltiger Gleitkommawert");
  EXPECT_EQ(Eval("1/0").message, "Gleitkommadivision durch Null");
}

TEST(CalcExpress, Lifecycle) {
  TCalcExpress calc;
  EXPECT_EQ(calc.Formula(), "0");
  EXPECT_EQ(calc.Calculate({}), 0);

  calc.SetFormula("SIN(X)");
  EXPECT_EQ(calc.Formula(), "sin(x)");

  calc.SetVariables({"x", "y"});
  calc.SetFormula("x*y");
  const long double a[] = {3, 4}, b[] = {2, 0.5L};
  EXPECT_EQ(calc.Calculate(a), 12);
  EXPECT_EQ(calc.Calculate(b), 1);

  calc.SetFormula("2+");
  EXPECT_EQ(calc.Formula(), "2+");
  EXPECT_EQ(Outcome(calc, a).outcome, TOutcome::NoTree);
  calc.SetVariables({"x"});  // parses the failed text again: still none
  EXPECT_EQ(Outcome(calc, a).outcome, TOutcome::NoTree);
  calc.SetFormula("x+1");
  EXPECT_EQ(calc.Calculate(a), 4);

  // Owned components go with their owner.
  TComponent owner;
  auto* child = new TCalcExpress(&owner);
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(child->Owner(), &owner);
}

TEST(CalcExpress, VariablesResolution) {
  TCalcExpress calc;
  calc.SetVariables({"X"});
  calc.SetFormula("x*2");
  const long double three[] = {3};
  EXPECT_EQ(calc.Calculate(three), 6);

  calc.SetVariables({"x", "x"});
  const long double twoValues[] = {5, 7};
  EXPECT_EQ(calc.Calculate(twoValues), 10);  // the first entry

  calc.SetVariables({"X", "y", "x"});
  const long double threeValues[] = {1, 2, 3};
  EXPECT_EQ(calc.Calculate(threeValues), 2);

  calc.SetVariables({"x=1"});
  EXPECT_EQ(Outcome(calc, threeValues).outcome, TOutcome::NoValue);

  // Resolved at parse only; a later parse picks the new list up.
  calc.SetVariables({});
  calc.SetFormula("a+b");
  const long double ab[] = {1, 2};
  EXPECT_EQ(Outcome(calc, ab).outcome, TOutcome::NoValue);
  calc.Variables() = {"a", "b"};
  EXPECT_EQ(Outcome(calc, ab).outcome, TOutcome::NoValue);
  calc.SetVariables({"a", "b"});
  EXPECT_EQ(calc.Calculate(ab), 3);
  calc.Variables() = {"b", "a"};
  EXPECT_EQ(calc.Calculate(ab), 3);  // untouched until the next parse

  // Fewer values than names: never read past them.
  const long double one[] = {1};
  EXPECT_EQ(Outcome(calc, one).outcome, TOutcome::NoValue);
  EXPECT_EQ(Outcome(calc, {}).outcome, TOutcome::NoValue);

  calc.SetVariables({"h"});
  calc.SetFormula("h+1");
  EXPECT_EQ(Outcome(calc, one).outcome, TOutcome::NoTree);  // a function name is never a variable

  const TCase cases[] = {{"a^b", V, 81}, {"b/a", V, 4.0L / 3}, {"a^(b)", V, 81}, {"b^a", V, 64}};
  ExpectCases(cases, {"a", "b"}, {3, 4});
}

TEST(CalcExpress, RepeatedCalculateKeepsNoState) {
  TCalcExpress calc;
  calc.SetVariables({"x"});
  calc.SetFormula("1/x");
  const long double zero[] = {0}, two[] = {2};
  EXPECT_EQ(Outcome(calc, zero).outcome, TOutcome::ZeroDivide);
  EXPECT_EQ(calc.Calculate(two), 0.5L);  // no fault left over
  EXPECT_EQ(Outcome(calc, zero).outcome, TOutcome::ZeroDivide);
}

std::string Nested(int depth, const std::string& open, const std::string& inner) {
  std::string s;
  for (int i = 0; i < depth; ++i) s += open;
  s += inner;
  s.append(static_cast<std::size_t>(depth), ')');
  return s;
}

TEST(CalcExpress, NestingLimit) {
  EXPECT_EQ(Eval(Nested(256, "(", "1")).value, 1);
  EXPECT_EQ(Eval(Nested(257, "(", "1")).outcome, TOutcome::NoTree);
  EXPECT_EQ(Eval(Nested(256, "abs(", "-1")).value, 1);
  EXPECT_EQ(Eval(Nested(257, "sin(", "0")).outcome, TOutcome::NoTree);
  EXPECT_EQ(Eval(Nested(128, "(1+", "1")).value, 129);
  EXPECT_EQ(Eval(Nested(100000, "(", "1")).outcome, TOutcome::NoTree);
}

TEST(CalcExpress, LongChains) {
  const int n = 100000;
  std::string sum = "1", product = "x", mixed = "0";
  for (int i = 1; i < n; ++i) {
    sum += "+1";
    product += "*x";
    mixed += (i % 2 ? "-x^2" : "+x^2");
  }
  EXPECT_EQ(Eval(sum).value, n);
  EXPECT_EQ(Eval(product, {"x"}, {1}).value, 1);
  EXPECT_EQ(Eval(mixed, {"x"}, {3}).value, -9);
  EXPECT_EQ(Eval("-" + sum).value, n - 2);  // the literal -1, then the rest
}

}  // namespace

#if defined(__i386__) || defined(__x86_64__)
// A caller whose own arithmetic left fault flags raised (masked division by
// zero and invalid operation, in x87 and SSE alike) gets the errors of its
// formula, never its own flags reported as ours, and keeps those flags.
TEST(CalcExpress, CallersPendingFaultFlagsAreNotOurs) {
  volatile long double zero = 0;
  volatile double dzero = 0;
  volatile long double x87 = 1 / zero;
  volatile double sse = dzero / dzero;
  (void)x87;
  (void)sse;
  std::uint16_t sw = 0;
  std::uint32_t mx = 0;
  __asm__ volatile("fnstsw %0" : "=am"(sw));
  __asm__ volatile("stmxcsr %0" : "=m"(mx));
  ASSERT_NE(sw & 0x04, 0);
  ASSERT_NE(mx & 0x01, 0);

  const TCase cases[] = {{"2*x", TOutcome::NoValue, 0}, {"1e5000", TOutcome::Convert, 0}, {"1+1", V, 2},
                         {"x*0", TOutcome::NoValue, 0}};
  for (const TCase& c : cases) EXPECT_EQ(Eval(c.formula, {"y"}).outcome, c.outcome) << c.formula;

  std::uint16_t swAfter = 0;
  std::uint32_t mxAfter = 0;
  __asm__ volatile("fnstsw %0" : "=am"(swAfter));
  __asm__ volatile("stmxcsr %0" : "=m"(mxAfter));
  __asm__ volatile("fnclex");
  const std::uint32_t clean = mx & ~0x3Fu;
  __asm__ volatile("ldmxcsr %0" : : "m"(clean));
  EXPECT_EQ(swAfter, sw);
  EXPECT_EQ(mxAfter, mx);
}
#endif
