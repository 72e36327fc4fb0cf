// The differentiator against GiNaC, over the "diff" formulas.
//
//   diff_oneshot/<id>   what the diff action does: create the component,
//                       set the formula, differentiate by x
//   ginac_oneshot/<id>  parse with x in the symbol table, differentiate by x,
//                       print the result to a string

#include <benchmark/benchmark.h>

#include <cctype>
#include <string>

#include "bench/Formulas.h"

#ifdef VKT_HAVE_DIFF
#include "diff/DiffExpress.h"
#endif

#ifdef VKT_HAVE_GINAC
#include <ginac/ginac.h>

#include <sstream>
#endif

namespace {

#ifdef VKT_HAVE_DIFF
void DiffOneShot(benchmark::State& state, std::string formula) {
  std::string result;
  for (auto _ : state) {
    TDiffExpress diff;
    diff.SetFormula(formula);
    diff.Differentiate("x", result);
    benchmark::DoNotOptimize(result.data());
  }
}
#endif

#ifdef VKT_HAVE_GINAC
// Our function names where GiNaC's differ, replaced as whole words.
std::string GinacText(const std::string& formula) {
  static const struct {
    const char* ours;
    const char* theirs;
  } names[] = {{"tg", "tan"},     {"sh", "sinh"},    {"ch", "cosh"},     {"th", "tanh"},
               {"ln", "log"},     {"arcsin", "asin"}, {"arccos", "acos"}, {"arctg", "atan"}};
  std::string out;
  for (std::size_t i = 0; i < formula.size();) {
    if (!std::isalpha(static_cast<unsigned char>(formula[i]))) {
      out += formula[i++];
      continue;
    }
    std::size_t j = i;
    while (j < formula.size() && (std::isalnum(static_cast<unsigned char>(formula[j])) || formula[j] == '_')) ++j;
    std::string word = formula.substr(i, j - i);
    for (const auto& n : names)
      if (word == n.ours) word = n.theirs;
    out += word;
    i = j;
  }
  return out;
}

void GinacOneShot(benchmark::State& state, std::string formula) {
  const std::string text = GinacText(formula);
  for (auto _ : state) {
    GiNaC::symbol x("x");
    GiNaC::symtab table;
    table["x"] = x;
    GiNaC::parser reader(table);
    const GiNaC::ex e = reader(text);
    std::ostringstream out;
    out << e.diff(x);
    std::string result = out.str();
    benchmark::DoNotOptimize(result.data());
  }
}
#endif

void RegisterAll() {
  for (const auto& f : BenchFormulas("diff")) {
#ifdef VKT_HAVE_DIFF
    benchmark::RegisterBenchmark(("diff_oneshot/" + f.id).c_str(), DiffOneShot, f.formula);
#endif
#ifdef VKT_HAVE_GINAC
    benchmark::RegisterBenchmark(("ginac_oneshot/" + f.id).c_str(), GinacOneShot, f.formula);
#endif
  }
}

const TBenchRegistrar registrar(RegisterAll);

}  // namespace
