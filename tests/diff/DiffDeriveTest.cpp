// The derivative's tree before it is simplified: the templates decide every
// node, and simplification would hide a wrong one. Each case gives the
// derivative as text; the built tree must be the very tree the reader makes
// of that text, node for node and in the same order.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "DiffTestUtil.h"
#include "diff/DiffDerive.h"
#include "diff/DiffReader.h"

namespace {

// The nodes first..root, in table order: kind, text and where the operands
// lie relative to the node.
std::string Nodes(const TNodeTable& table, int first, int root) {
  std::string out;
  for (int i = first; i <= root; ++i) {
    const TTree& n = table[i];
    out += std::to_string(n.Kind) + ":" + std::string(table.Text(n)) + ":" +
           std::to_string(n.Left ? i - n.Left : 0) + ":" + std::to_string(n.Right ? i - n.Right : 0) + " ";
  }
  return out;
}

// The derivative of formula built as a tree, and the reading of text, as
// node lists; "!" and why when either cannot be had.
struct TBoth {
  std::string Built, Read;
};
TBoth DerivTree(const std::string& formula, const std::string& text) {
  const auto table = std::make_unique<TNodeTable>();
  TDiffReader reader;
  std::string texts;
  table->SetSource(tsFormula, &formula);
  table->SetSource(tsDeriv, &texts);
  const char sep = DecimalSeparator();
  const int root = reader.Read(*table, tsFormula, formula, sep);
  if (!root) return {"!unreadable", ""};
  const int before = table->Count();
  const int derivative = TDerivBuilder().Build(*table, root, "x", sep, texts);
  TBoth both{derivative ? Nodes(*table, before + 1, derivative) : "!too long", ""};
  const auto expected = std::make_unique<TNodeTable>();
  expected->SetSource(tsFormula, &text);
  const int read = reader.Read(*expected, tsFormula, text, sep);
  both.Read = read ? Nodes(*expected, 1, read) : "!text unreadable";
  return both;
}

void ExpectTree(const std::string& formula, const std::string& text) {
  const TBoth both = DerivTree(formula, text);
  EXPECT_EQ(both.Built, both.Read) << "formula: " << formula << ", derivative: " << text;
}

TEST(DiffDerive, Templates) {
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
      // Whole exponents are counted down digit for digit below 10^15 only.
      {"x^1000000000000000", "((1000000000000000)*(x)^(999999999999999)*(1))"},
      {"x^1000000000000001", "((1000000000000001)*(x)^(1E15)*(1))"},
      {"x^(-999999999999999)", "((-999999999999999)*(x)^(-1E15)*(1))"},
      {"x^(-0)", "((-0)*(x)^(-1)*(1))"},
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
  for (const auto& c : cases) ExpectTree(c.Formula, c.Text);
}

TEST(DiffDerive, CommaSeparator) {
  TSeparatorScope comma(',');
  ExpectTree("sqrt(x)", "(0,5/sqrt(x)*(1))");
  ExpectTree("x^2,50", "((2,50)*(x)^(1,5)*(1))");
}

// Stopping early: a derivative that cannot fit is abandoned, but an
// exponent literal beyond range anywhere in the formula is still reported.
TEST(DiffDerive, StopsWhenTheTableCannotHoldIt) {
  std::string nested = "x";
  for (int i = 0; i < 300; ++i) nested = "sin(" + nested + ")";
  EXPECT_EQ(DerivTree(nested, "").Built, "!too long");
  EXPECT_EQ(Derive(nested), kErrFormula);
  EXPECT_EQ(Derive(nested + "*x^1e5000"), ConvertErr("1e5000"));
  EXPECT_EQ(Derive("x^1e5000*" + nested), ConvertErr("1e5000"));
  EXPECT_EQ(Derive(nested + "+x^1e5000*y"), ConvertErr("1e5000"));  // a left derivative after the stop
  EXPECT_EQ(Derive("sgn(x^1e5000)*" + nested), kErrFormula);  // never converted
}

}  // namespace
