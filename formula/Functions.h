#pragma once
// The functions of the formula language, one row each: the names each
// reader accepts, the evaluator's value, the simplifier's constant folding
// and the derivative template. The evaluator, the differentiator's reader,
// builder and simplifier take every function from here; adding a function is
// a row below (and in kFunctionNames) plus its evaluation in FunctionMaths.
//
// A function's token kind in both readers is kFirstFunctionKind plus its
// place in TFunction, so kinds and rows cannot drift apart.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formula/FunctionMaths.h"

enum class TFunction : std::uint8_t {
  Cos, Sin, Tg, Ctg, Abs, Sgn, Sqrt, Ln, Exp, Arcsin, Arccos, Arctg, Arcctg, Sh, Ch, Th, Cth, Heaviside,
};
inline constexpr int kFunctionCount = static_cast<int>(TFunction::Heaviside) + 1;

// The readers that accept a name. The calculator reads the formula in lower
// case, so it also takes "SIN"; the differentiator compares as written.
enum TReaderSet : std::uint8_t { rsCalc = 1, rsDiff = 2, rsBoth = rsCalc | rsDiff };

struct TFunctionName {
  std::string_view Name;
  TFunction Function;
  TReaderSet Readers;
};

inline constexpr TFunctionName kFunctionNames[] = {
    {"cos", TFunction::Cos, rsBoth},       {"sin", TFunction::Sin, rsBoth},
    {"tg", TFunction::Tg, rsBoth},         {"ctg", TFunction::Ctg, rsBoth},
    {"abs", TFunction::Abs, rsBoth},       {"sgn", TFunction::Sgn, rsBoth},
    {"sign", TFunction::Sgn, rsBoth},      {"sqrt", TFunction::Sqrt, rsBoth},
    {"ln", TFunction::Ln, rsBoth},         {"exp", TFunction::Exp, rsBoth},
    {"arcsin", TFunction::Arcsin, rsBoth}, {"arccos", TFunction::Arccos, rsBoth},
    {"arctg", TFunction::Arctg, rsBoth},   {"arctan", TFunction::Arctg, rsCalc},
    {"arcctg", TFunction::Arcctg, rsBoth}, {"sh", TFunction::Sh, rsBoth},
    {"sinh", TFunction::Sh, rsCalc},       {"ch", TFunction::Ch, rsBoth},
    {"cosh", TFunction::Ch, rsCalc},       {"th", TFunction::Th, rsBoth},
    {"tanh", TFunction::Th, rsCalc},       {"cth", TFunction::Cth, rsBoth},
    {"coth", TFunction::Cth, rsCalc},      {"heaviside", TFunction::Heaviside, rsBoth},
    {"h", TFunction::Heaviside, rsBoth},
};

// The names grouped by length, so that most identifiers are told apart by
// their length alone: kNameStart[n] .. kNameStart[n + 1] index the names of
// length n in kNamesByLength.
inline constexpr std::size_t kLongestName = 9;

inline constexpr auto kNamesByLength = [] {
  std::array<TFunctionName, std::size(kFunctionNames)> sorted{};
  std::size_t k = 0;
  for (std::size_t length = 1; length <= kLongestName; ++length)
    for (const TFunctionName& name : kFunctionNames)
      if (name.Name.size() == length) sorted[k++] = name;
  return sorted;
}();

inline constexpr auto kNameStart = [] {
  std::array<std::uint8_t, kLongestName + 2> start{};
  for (std::size_t length = 1; length <= kLongestName + 1; ++length) {
    std::size_t k = 0;
    while (k < kNamesByLength.size() && kNamesByLength[k].Name.size() < length) ++k;
    start[length] = static_cast<std::uint8_t>(k);
  }
  return start;
}();
static_assert(kNameStart[kLongestName + 1] == std::size(kFunctionNames), "a function name is longer than kLongestName");

// Names and literals are a few characters long: a loop compares them
// sooner than a call of memcmp would.
inline bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}

// The readers that know name (compared as written), or 0 when none does.
// function receives the function it names. Inline: the readers ask for
// every identifier they meet.
inline std::uint8_t FindFunctionName(std::string_view name, TFunction& function) {
  if (name.empty() || name.size() > kLongestName) return 0;
  for (std::size_t k = kNameStart[name.size()]; k < kNameStart[name.size() + 1]; ++k)
    if (SameText(kNamesByLength[k].Name, name)) {
      function = kNamesByLength[k].Function;
      return kNamesByLength[k].Readers;
    }
  return 0;
}

// A derivative template is the derivative written as formula text, with
// markers for what is put in: {u} the argument as written, {du} the
// argument's derivative, {sep} the decimal separator. The differentiator
// builds the tree its reader would make of the text (diff/DiffDerive.h).
struct TFunctionRow {
  TFunction Function;
  TUnaryMath Evaluate;  // the evaluator's value; faults only as status flags
  TUnaryMath Fold;      // the simplifier's value, raising the first faulty step
  std::string_view Derivative;
};

inline constexpr TFunctionRow kFunctions[kFunctionCount] = {
    {TFunction::Cos, EvalCos, FoldCos, "(-sin({u})*({du}))"},
    {TFunction::Sin, EvalSin, FoldSin, "(cos({u})*({du}))"},
    {TFunction::Tg, EvalTg, FoldTg, "(1/(cos({u})^2)*({du}))"},
    {TFunction::Ctg, EvalCtg, FoldCtg, "(-1/(sin({u})^2)*({du}))"},
    {TFunction::Abs, EvalAbs, EvalAbs, "(sgn({u})*({du}))"},
    {TFunction::Sgn, EvalSgn, EvalSgn, "0"},  // constant almost everywhere
    {TFunction::Sqrt, EvalSqrt, EvalSqrt, "(0{sep}5/sqrt({u})*({du}))"},
    {TFunction::Ln, EvalLn, EvalLn, "(1/({u})*({du}))"},
    {TFunction::Exp, EvalExp, EvalExp, "(exp({u})*({du}))"},
    {TFunction::Arcsin, EvalArcsin, FoldArcsin, "(1/sqrt(1-({u})^2)*({du}))"},
    {TFunction::Arccos, EvalArccos, FoldArccos, "(-1/sqrt(1-({u})^2)*({du}))"},
    {TFunction::Arctg, EvalArctg, FoldArctg, "(1/(1+({u})^2)*({du}))"},
    {TFunction::Arcctg, EvalArcctg, FoldArcctg, "(-1/(1+({u})^2)*({du}))"},
    {TFunction::Sh, EvalSh, FoldSh, "(ch({u})*({du}))"},
    {TFunction::Ch, EvalCh, FoldCh, "(sh({u})*({du}))"},
    {TFunction::Th, EvalTh, FoldTh, "(1/(ch({u})^2)*({du}))"},
    {TFunction::Cth, EvalCth, FoldCth, "(-1/(sh({u})^2)*({du}))"},
    {TFunction::Heaviside, EvalHeaviside, EvalHeaviside, "0"},  // constant almost everywhere
};

constexpr bool RowsInFunctionOrder() {
  for (int i = 0; i < kFunctionCount; ++i)
    if (static_cast<int>(kFunctions[i].Function) != i) return false;
  return true;
}
static_assert(RowsInFunctionOrder(), "kFunctions is indexed by TFunction");

inline const TFunctionRow& FunctionRow(TFunction f) { return kFunctions[static_cast<int>(f)]; }

// Token and node kinds of functions in both readers.
inline constexpr std::int32_t kFirstFunctionKind = 10;
inline constexpr std::int32_t kLastFunctionKind = kFirstFunctionKind + kFunctionCount - 1;
constexpr bool IsFunctionKind(std::int32_t kind) { return kind >= kFirstFunctionKind && kind <= kLastFunctionKind; }
constexpr std::int32_t FunctionKind(TFunction f) { return kFirstFunctionKind + static_cast<std::int32_t>(f); }
constexpr TFunction FunctionOfKind(std::int32_t kind) { return static_cast<TFunction>(kind - kFirstFunctionKind); }
