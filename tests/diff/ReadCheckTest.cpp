// Where and why each action's reader refuses a formula: the checks must say
// "read" exactly when the reader reads, and name the place and reason.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "DiffTestUtil.h"
#include "calc/CalcCheck.h"
#include "calc/CalcExpress.h"
#include "diff/DiffCheck.h"

namespace {

using F = TReadFault;

struct TExpect {
  F Fault;
  std::size_t Position;
};

struct TCheckCase {
  std::string Formula;
  TExpect Calc, Diff;
};

const TExpect kRead{F::None, 0};

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(ReadCheck, PlaceAndReason) {
  TSeparatorScope dot('.');
  const std::string deep257 = Repeat("(", 257) + "1" + Repeat(")", 257);
  const std::string deep20001 = Repeat("(", 20001) + "1" + Repeat(")", 20001);
  const TCheckCase cases[] = {
      {"2+3*4", kRead, kRead},
      {"2*x+1", {F::NoVariables, 2}, kRead},
      {"2#3", {F::UnexpectedCharacter, 1}, {F::UnexpectedCharacter, 1}},
      {"2+", {F::OperandMissing, 2}, {F::OperandMissing, 2}},
      {"2*-3", {F::OperandMissing, 2}, {F::OperandMissing, 2}},
      {"", {F::OperandMissing, 0}, {F::OperandMissing, 0}},
      {"(2", {F::CloseExpected, 2}, {F::CloseExpected, 2}},
      {"2)", {F::CloseWithoutOpen, 1}, {F::CloseWithoutOpen, 1}},
      {"sinh(2)", kRead, {F::CalcOnlyName, 0}},
      {"2*Sin (2)", kRead, {F::CalcOnlyName, 2}},
      {"1+foo(2)", {F::UnknownName, 2}, {F::UnknownName, 2}},
      {"1e+", {F::BadNumber, 3}, {F::BadNumber, 3}},
      {"1ex", {F::BadNumber, 2}, {F::BadNumber, 2}},
      {"-5.", {F::BadNumber, 3}, {F::BadNumber, 3}},
      {"sin 2", {F::OpenExpected, 4}, {F::OpenExpected, 4}},
      {"h", {F::OpenExpected, 1}, {F::OpenExpected, 1}},
      {"2 3", {F::OperatorExpected, 2}, {F::OperatorExpected, 2}},
      {"(2)(3)", {F::OperatorExpected, 3}, {F::OperatorExpected, 3}},
      {"x^y", {F::NoVariables, 0}, {F::OperandMissing, 2}},
      {"2^(1+1)", {F::CloseExpected, 4}, {F::CloseExpected, 4}},
      {"x+(", {F::NoVariables, 0}, {F::OperandMissing, 3}},
      {"(x", {F::NoVariables, 1}, {F::CloseExpected, 2}},  // the first in reading order
      {"2,5*3", kRead, kRead},                                // the action's separator
      {"$2+\x80" "3", kRead, {F::UnexpectedCharacter, 0}},      // currency signs go before reading
      {"$x", {F::NoVariables, 1}, {F::UnexpectedCharacter, 0}},
      {deep257, {F::TooDeep, 256}, kRead},
      {deep20001, {F::TooDeep, 256}, {F::TooDeep, 20000}},
      {"x" + Repeat("+x", 2500), {F::NoVariables, 0}, {F::TooLong, 5001}},
  };
  for (const TCheckCase& c : cases) {
    const TReadCheck calc = CheckCalcFormula(c.Formula), diff = CheckDiffFormula(c.Formula, "x");
    const std::string shown = c.Formula.substr(0, 40);
    EXPECT_EQ(calc.Fault, c.Calc.Fault) << "calc: " << shown;
    EXPECT_EQ(diff.Fault, c.Diff.Fault) << "diff: " << shown;
    if (c.Calc.Fault != F::None) {
      EXPECT_EQ(calc.Position, c.Calc.Position) << "calc: " << shown;
    }
    if (c.Diff.Fault != F::None) {
      EXPECT_EQ(diff.Position, c.Diff.Position) << "diff: " << shown;
    }
  }
}

// Random token strings: the check reads exactly when the action's reader
// does; the calculator's check refuses a read formula only for a name that
// is no function (the action has no variables), and only then.
TEST(ReadCheck, AgreesWithTheReaders) {
  TSeparatorScope dot('.');
  struct TToken {
    const char* Text;
    bool PlainName;  // for the calculator
  };
  // A name ends with a space, so that two names never make one.
  const TToken tokens[] = {{"x ", true},    {"2", false},     {"1.5", false},  {"(", false},   {")", false},
                           {"+", false},    {"-", false},     {"*", false},    {"/", false},   {"^", false},
                           {"sin ", false}, {"sinh ", false}, {"Sin ", false}, {"foo ", true}, {"h ", false},
                           {" ", false},    {"#", false},     {"1e", false},   {"$", false},   {",", false},
                           {"-2", false},   {"ARCTAN ", false}, {"Sinx ", true}, {"2e3", false}};
  std::mt19937 random(22);
  int read = 0, plain = 0;
  for (int n = 0; n < 20000; ++n) {
    std::string formula;
    bool usesPlainName = false;
    for (int k = 1 + static_cast<int>(random() % 10); k > 0; --k) {
      const TToken& t = tokens[random() % std::size(tokens)];
      formula += t.Text;
      usesPlainName |= t.PlainName;
    }
    // The calculator: the component reads what the action would give it.
    TCalcExpress calc;
    calc.SetFormula(CalcActionFormula(formula, '.'));
    bool calcReads = true;
    try {
      calc.Calculate({});
    } catch (const Exception& e) {
      calcReads = e.Message() != "Error in formula.";
    }
    const TReadCheck calcCheck = CheckCalcFormula(formula);
    const bool refusedForNames = calcCheck.Fault == F::NoVariables;
    EXPECT_EQ(calcCheck.Fault == F::None || refusedForNames, calcReads || refusedForNames) << formula;
    if (calcReads) {
      EXPECT_EQ(refusedForNames, usesPlainName) << formula;
    }
    EXPECT_LE(calcCheck.Position, formula.size()) << formula;
    // The differentiator: short formulas whose derivative always fits.
    std::string diffText = formula;
    NormaliseSeparator(diffText, '.');
    const bool diffReads = Derive(diffText) != kErrFormula;
    const TReadCheck diffCheck = CheckDiffFormula(formula, "x");
    EXPECT_EQ(diffCheck.Fault == F::None, diffReads) << formula;
    EXPECT_LE(diffCheck.Position, formula.size()) << formula;
    read += diffReads;
    plain += calcReads && usesPlainName;
  }
  EXPECT_GT(read, 1000);  // both outcomes are exercised
  EXPECT_GT(plain, 200);
}

}  // namespace
