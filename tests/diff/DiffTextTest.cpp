// The derivative text before it is read back: the templates decide every
// character, and simplification would hide a wrong one.
#include <gtest/gtest.h>

#include <string>

#include "DiffTestUtil.h"
#include "diff/DiffReader.h"
#include "diff/DiffText.h"

namespace {

// The derivative text of formula, checked to read back into exactly as many
// nodes as the writer announced.
std::string DerivText(const std::string& formula, const std::string& variable = "x") {
  TNodeTable table;
  TDiffReader reader;
  TDerivWriter writer;
  std::string text;
  table.SetSource(tsFormula, &formula);
  table.SetSource(tsDeriv, &text);
  const char sep = DecimalSeparator();
  const int root = reader.Read(table, tsFormula, formula, sep);
  if (!root) return "!unreadable";
  const int before = table.Count();
  const int nodes = writer.Write(table, root, variable, sep, TNodeTable::kCapacity - before, text);
  if (nodes < 0) return "!too long";
  if (!reader.Read(table, tsDeriv, text, sep)) return "!text unreadable: " + text;
  EXPECT_EQ(table.Count() - before, nodes) << text;
  return text;
}

TEST(DiffText, Templates) {
  struct {
    const char* Formula;
    const char* Text;
  } cases[] = {
      {"x", "1"},
      {"y", "0"},
      {"X", "0"},
      {"3", "0"},
      {"x+y", "((1)+(0))"},
      {"x-y", "((1)-(0))"},
      {"x^2", "((2)*(x)^(1)*(1))"},
      {"x^0", "((0)*(x)^(-1)*(1))"},
      {"x^1", "((1)*(x)^(0)*(1))"},
      {"x^2.50", "((2.50)*(x)^(1.5)*(1))"},
      {"x^(-2)", "((-2)*(x)^(-3)*(1))"},
      {"x^1e20", "((1e20)*(x)^(1E20)*(1))"},
      {"sin(2*x)", "(cos(((2)*(x)))*(((0)*(x)+(1)*(2))))"},
      {"x/2", "((1)*(2)-(0)*(x))/(2)^2"},
      {"exp(-x)", "(exp((-(x)))*((-(1))))"},
      {"sign(x)*x", "((0)*(x)+(1)*(sign(x)))"},
      {"cos(x)", "(-sin(x)*(1))"},
      {"sin(x)", "(cos(x)*(1))"},
      {"tg(x)", "(1/(cos(x)^2)*(1))"},
      {"ctg(x)", "(-1/(sin(x)^2)*(1))"},
      {"abs(x)", "(sgn(x)*(1))"},
      {"sgn(x)", "0"},
      {"sign(x)", "0"},
      {"sqrt(x)", "(0.5/sqrt(x)*(1))"},
      {"ln(x)", "(1/(x)*(1))"},
      {"exp(x)", "(exp(x)*(1))"},
      {"arcsin(x)", "(1/sqrt(1-(x)^2)*(1))"},
      {"arccos(x)", "(-1/sqrt(1-(x)^2)*(1))"},
      {"arctg(x)", "(1/(1+(x)^2)*(1))"},
      {"arcctg(x)", "(-1/(1+(x)^2)*(1))"},
      {"sh(x)", "(ch(x)*(1))"},
      {"ch(x)", "(sh(x)*(1))"},
      {"th(x)", "(1/(ch(x)^2)*(1))"},
      {"cth(x)", "(-1/(sh(x)^2)*(1))"},
      {"heaviside(x)", "0"},
      {"h(x)", "0"},
      // Operands are copied fully bracketed, functions under their own name.
      {"sin(x*(y-z)/w^2)", "(cos(((((x)*(((y)-(z)))))/(((w)^(2)))))*(((((1)*(((y)-(z)))+(((0)-(0)))*(x)))*(((w)^(2)))-(((2)*(w)^(1)*(0)))*(((x)*(((y)-(z))))))/(((w)^(2)))^2))"},
      {"sign(-x)*x", "((0)*(x)+(1)*(sign((-(x)))))"},
      {"x*sin(-2)", "((1)*(sin(-2))+((cos(-2)*(0)))*(x))"},
  };
  for (const auto& c : cases) EXPECT_EQ(DerivText(c.Formula), c.Text) << "formula: " << c.Formula;
}

TEST(DiffText, CommaSeparator) {
  TSeparatorScope comma(',');
  EXPECT_EQ(DerivText("sqrt(x)"), "(0,5/sqrt(x)*(1))");
  EXPECT_EQ(DerivText("x^2,50"), "((2,50)*(x)^(1,5)*(1))");
}

// Stopping early: the text of a tree that cannot fit is abandoned, but an
// exponent literal beyond range anywhere in the formula is still reported.
TEST(DiffText, StopsWhenTheTableCannotHoldTheReading) {
  std::string nested = "x";
  for (int i = 0; i < 300; ++i) nested = "sin(" + nested + ")";
  EXPECT_EQ(DerivText(nested), "!too long");
  EXPECT_EQ(Derive(nested), kErrFormula);
  EXPECT_EQ(Derive(nested + "*x^1e5000"), ConvertErr("1e5000"));
  EXPECT_EQ(Derive("x^1e5000*" + nested), ConvertErr("1e5000"));
  EXPECT_EQ(Derive(nested + "+x^1e5000*y"), ConvertErr("1e5000"));  // a left derivative after the stop
  EXPECT_EQ(Derive("sgn(x^1e5000)*" + nested), kErrFormula);  // never converted
}

}  // namespace
