// Behaviour of the differentiator as its clients see it: the printed
// derivative or the message of the error, for formulas chosen to exercise
// one rule each (reading, templates, folding, printing).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DiffTestUtil.h"

namespace {

struct TCase {
  const char* Formula;
  std::string Expected;  // the derivative, or "!" and the error message
};

void ExpectAll(const std::vector<TCase>& cases, const std::string& variable = "x") {
  for (const auto& c : cases) EXPECT_EQ(Derive(c.Formula, variable), c.Expected) << "formula: " << c.Formula;
}

TEST(DiffExpress, WorkedExamples) {
  ExpectAll({
      {"0", "0"},
      {"x", "1"},
      {"x*y", "y"},
      {"x^2", "2*x"},
      {"sin(2*x)", "cos(2*x)*2"},
      {"cos(x)", "(-sin(x))"},
      {"-x", "(-1)"},
      {"-2*x", "(-2)"},
      {"1/x", "(-1)/x^2"},
      {"ln(x)", "1/x"},
      {"exp(-x)", "exp((-x))*(-1)"},
      {"x^(-1)", "(-1)*x^(-2)"},
      {"sqrt(x)", "0.5/sqrt(x)"},
      {"-x^3", "(-(3*x^2))"},
      {"3*x^2-2*x+1", "2*x*3-2"},
      {"sin(x)^2", "2*sin(x)*cos(x)"},
      {"tg(x)", "1/(cos(x))^2"},
      {"x/(x+1)", "(x+1-x)/(x+1)^2"},
      {"(x+1)^3", "3*(x+1)^2"},
      {"x^2^3", "3*(x^2)^2*2*x"},
      {"arcsin(x)", "1/sqrt(1-x^2)"},
      {"sqrt(1-x^2)", "0.5/sqrt(1-x^2)*((-(2*x)))"},
      {"sin(x)*cos(x)", "cos(x)*cos(x)+((-sin(x)))*sin(x)"},
  });
}

// Folding: constants combine only when adjacent, at 15 significant digits.
TEST(DiffExpress, Folding) {
  ExpectAll({
      {"x*x", "x+x"},
      {"x-x", "0"},
      {"2*3*x", "6"},
      {"x^3/3", "3*x^2*3/9"},
      {"x/3", "0.333333333333333"},
      {"x*1e20", "1E20"},
      {"x*0.00001", "1E-5"},
      {"x*0.0001", "0.0001"},
      {"x*1e15", "1E15"},
      {"x*123456789012345678", "1.23456789012346E17"},
      {"x*9999999999999999999", "1E19"},
      {"x*(0.1+0.2)", "0.3"},
      {"x^2.50", "2.50*x^1.5"},  // a literal copied from the formula keeps its text
      {"x*0^0", "0"},
      {"x*0^(-1)", "0"},
      {"x*(-2)^3", "(-8)"},
      {"x*(-2)^2", "4"},
      {"x*(-2)^(-1)", "(-0.5)"},
      {"x*2^0.5", "1.4142135623731"},
      {"x*sgn(0)", "0"},
      {"x*sgn(-5)", "(-1)"},
      {"x*sign(3)", "1"},
      {"x*h(0)", "1"},
      {"x*heaviside(-1)", "0"},
      {"x*abs(-2)", "2"},
      {"x*cos(0)", "1"},
      {"x*sin(1e19)", "0"},
      {"x*cos(1e19)", "0"},
      {"x*tg(0)", "0"},
      {"x*ctg(1)", "0.642092615934331"},
      {"x*sqrt(2)", "1.4142135623731"},
      {"x*exp(1)", "2.71828182845905"},
      {"x*ln(1)", "0"},
      {"x*arcsin(-0.5)", "(-0.523598775598299)"},
      {"x*arccos(-0.5)", "2.0943951023932"},
      {"x*arctg(1)", "0.785398163397448"},
      {"x*arcctg(-1)", "2.35619449019234"},
      {"x*sh(0)", "0"},
      {"x*sh(1)", "1.1752011936438"},
      {"x*ch(0)", "1"},
      {"x*th(0)", "0"},
      {"x*cth(1)", "1.31303528549933"},
      {"x*(0-y)", "(-y)"},
      {"x*(-(-y))", "(-((-y)))"},
      {"x*(-3)", "(-3)"},
      {"x*(y-0)", "y"},
      {"x*(0+y)", "y"},
      {"x*(y*1)", "y"},
      {"x*(y/1)", "y"},
      {"x*(0/y)", "0"},
      {"x*y^0", "1"},
      {"x*y^1", "y"},
  });
}

// Brackets in the output: only where the reading needs them.
TEST(DiffExpress, Printing) {
  ExpectAll({
      {"x*(y-(z+w))", "y-(z+w)"},
      {"x*(y-(z-w))", "y-(z-w)"},
      {"x*(y-(-z))", "y-((-z))"},
      {"x*(y+(z-w))", "y+z-w"},
      {"x*(y/(z*w))", "y/(z*w)"},
      {"x*(y/(z/w))", "y/(z/w)"},
      {"x*((y+z)/w)", "(y+z)/w"},
      {"x*(y*z/w)", "y*z/w"},
      {"x*(y+z)*w", "(y+z)*w"},
      {"x*(y+z)^2", "(y+z)^2"},
      {"x*(y*z)^2", "(y*z)^2"},
      {"x*sin(y)^2", "(sin(y))^2"},
      {"x*(y^2)^3", "(y^2)^3"},
      {"x*y^(-2)", "y^(-2)"},
      {"x*(-y)", "(-y)"},
      {"x*(-(y+z))", "(-(y+z))"},
      {"x*(-sin(y))", "(-sin(y))"},
      {"x*sign(x)", "sign(x)"},  // a copied function keeps the name as written
      {"abs(x)", "sgn(x)"},
  });
}

// What the reader accepts: the sign of a term, negative literals, exponents.
TEST(DiffExpress, ReadingAccepted) {
  ExpectAll({
      {"-x^2", "(-(2*x))"},
      {"-x+x^2", "(-1)+2*x"},  // the sign belongs to its term only
      {"- 2*x", "(-2)"},
      {"((x))", "1"},
      {"x^(-2)", "(-2)*x^(-3)"},
      {"x^2.5", "2.5*x^1.5"},
      {"2.5e3*x", "2500"},
      {"1E-3", "0"},
      {"x*2E+1", "20"},
      {"(-x)", "(-1)"},
      {"sin(-x)", "cos((-x))*(-1)"},
      {"sin (x)", "cos(x)"},
      {"  x  *  y  ", "y"},
      {"-+x", "(-1)"},
      {"+x", "1"},
      {"sign(x)", "0"},
      {"sgn(x)", "0"},
      {"h(x)", "0"},
      {"heaviside(x)", "0"},
      {"2^3", "0"},
      {"X^2", "0"},
      {"Sinx*x", "Sinx"},
      {"_a1*x", "_a1"},
      {"x1*x", "x1"},
      {"1e5000", "0"},  // never converted
  });
}

TEST(DiffExpress, ReadingRejected) {
  for (const char* formula :
       {"", "   ", "x^-2", "x^y", "2^x", "x^(1/2)", "e^x", "+-x", "x*-2", "x+-y", "--x", "Sin(x)", "h",
        "x*h", "2x", "x y", "sin x", "sin()", "()", "2.", "2.e3", "1e", "1e+", ".5", "x)", "(x", "x^(2",
        "x^(2))", "2#3", "x+#3", "1.2.3", "2\t+3", "x\n", "x+", "x*", "*x", "x**2", "x^", "sin(x",
        "1,5*x", "x=1", "x[1]", "\xFCx"})
    EXPECT_EQ(Derive(formula), kErrFormula) << "formula: " << formula;
}

// Every message that a failed differentiation can carry.
TEST(DiffExpress, Messages) {
  ExpectAll({
      {"sin(x/0)", kErrDivision},
      {"x/0", kErrInvalid},
      {"x*(1/0)", kErrZeroDivide},
      {"x*(0/0)", kErrInvalid},
      {"x*ln(0)", kErrZeroDivide},
      {"x*cth(0)", kErrZeroDivide},
      {"x*ctg(0)", kErrZeroDivide},
      {"x*ln(-1)", kErrInvalid},
      {"x*sqrt(-1)", kErrInvalid},
      {"x*arcsin(2)", kErrInvalid},
      {"x*arcsin(1)", kErrZeroDivide},  // the derivative of the constant holds 1/sqrt(1-1^2)
      {"x*sqrt(0)", kErrZeroDivide},
      {"x*arccos(-2)", kErrInvalid},
      {"x*tg(1e19)", kErrInvalid},
      {"x*ctg(1e19)", kErrInvalid},
      {"x*exp(100000)", kErrOverflow},
      {"x*sh(100000)", kErrOverflow},
      {"x*ch(-100000)", kErrOverflow},
      {"x*th(100000)", kErrOverflow},
      {"x*cth(100000)", kErrOverflow},
      {"x*(1e4000*1e4000)", kErrOverflow},
      {"x*(1e4000/1e-4000)", kErrOverflow},
      {"x*(1e4932+1e4932)", kErrOverflow},
      {"x*10^5000", kErrOverflow},
      {"x*1e5000", ConvertErr("1e5000")},
      {"x^1e5000", ConvertErr("1e5000")},
      {"x^(-1e5000)", ConvertErr("-1e5000")},
      {"x)", kErrFormula},
      {"(x", kErrFormula},
  });
}

// A negative base has a real power only for a whole exponent.
TEST(DiffExpress, NegativeBaseWithFractionalExponentIsInvalid) {
  ExpectAll({
      {"x*(-8)^0.5", kErrInvalid},
      {"x*(-1)^0.5", kErrInvalid},
      {"x*(-8)^(-2.5)", kErrInvalid},
      {"x*(-8)^2", "64"},
      {"x*(-8)^3", "(-512)"},
      {"x*(-8)^1", "(-8)"},
      {"x*0^0.5", "0"},
      {"x*8^0.5", "2.82842712474619"},
  });
}

// With the separator "," every number is read and written with it,
// including the constant of the square-root rule.
TEST(DiffExpress, CommaSeparator) {
  TSeparatorScope comma(',');
  ExpectAll({
      {"sqrt(x)", "0,5/sqrt(x)"},
      {"sqrt(1-x^2)", "0,5/sqrt(1-x^2)*((-(2*x)))"},
      {"arcsin(x)", "1/sqrt(1-x^2)"},
      {"sqrt(sin(x))", "0,5/sqrt(sin(x))*cos(x)"},
      {"x/3", "0,333333333333333"},
      {"x^2,50", "2,50*x^1,5"},
      {"x^1,5", "1,5*x^0,5"},
      {"x*2,5", "2,5"},
      {"2,5e3*x", "2500"},
      {"x*0,00001", "1E-5"},
      {"x*(-2,5)", "(-2,5)"},
      {"x*2.5", kErrFormula},
      {"x*2,", kErrFormula},
      {"x*2,5e99999", ConvertErr("2,5e99999")},
  });
}

TEST(DiffExpress, Component) {
  TDiffExpress diff;
  EXPECT_EQ(diff.Formula(), "0");
  std::string result = "unchanged";
  diff.Differentiate("x", result);
  EXPECT_EQ(result, "0");

  diff.SetFormula("x*y");
  EXPECT_EQ(diff.Formula(), "x*y");
  diff.Differentiate("x", result);
  EXPECT_EQ(result, "y");
  diff.Differentiate("y", result);
  EXPECT_EQ(result, "x");

  // A failed call leaves the result alone and the next call starts afresh.
  result = "unchanged";
  diff.SetFormula("x*(");
  EXPECT_THROW(diff.Differentiate("x", result), Exception);
  EXPECT_EQ(result, "unchanged");
  diff.SetFormula("x^3");
  diff.Differentiate("x", result);
  EXPECT_EQ(result, "3*x^2");

  // The variable is matched case-sensitively.
  diff.Differentiate("X", result);
  EXPECT_EQ(result, "0");
}

TEST(DiffExpress, OwnedByAnotherComponent) {
  TComponent owner;
  auto* diff = new TDiffExpress(&owner);
  EXPECT_EQ(owner.ComponentCount(), 1);
  diff->SetFormula("x^2");
  std::string result;
  diff->Differentiate("x", result);
  EXPECT_EQ(result, "2*x");
}

std::string SumOfX(int terms) {
  std::string s = "x";
  for (int i = 1; i < terms; ++i) s += "+x";
  return s;
}

// The table holds both trees together: 2499 + 2499 nodes fit, 2501 + 2501 not.
TEST(DiffExpress, NodeLimitCoversBothTrees) {
  EXPECT_EQ(Derive(SumOfX(1250)), "1250");
  EXPECT_EQ(Derive(SumOfX(1251)), kErrFormula);
  EXPECT_EQ(Derive(SumOfX(2500)), kErrFormula);
  EXPECT_EQ(Derive(SumOfX(2501)), kErrFormula);  // the formula alone overflows
  // Exactly at the limit: 4998 nested sgn around y and the derivative "0".
  auto nestedSgn = [](int depth) {
    std::string s;
    for (int i = 0; i < depth; ++i) s += "sgn(";
    return s + "y" + std::string(static_cast<std::size_t>(depth), ')');
  };
  EXPECT_EQ(Derive(nestedSgn(4998)), "0");
  EXPECT_EQ(Derive(nestedSgn(4999)), kErrFormula);
}

}  // namespace
