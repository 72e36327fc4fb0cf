// The formula evaluator against muParser and against plain compiled code.
//
//   calc_oneshot/<id>      what the calc action does: create, set the formula,
//                          set the names (parses again), calculate, number text
//   calc_repeat/<id>       Calculate of a parsed formula, x sweeping [0.5, 1.5)
//   muparser_oneshot/<id>  new parser, define x, set the expression, evaluate,
//                          format with 15 digits
//   muparser_repeat/<id>   Eval with x sweeping
//   floor/<id>             the formula compiled as plain long double code
//   calc_engine/<id>       diagnostic: the program alone, without the
//                          floating-point guard of Calculate (the process runs
//                          at the standard settings), to show what the guard costs
//
// Bulk, 1,000 rows of x sweeping [0.5, 1.5) per iteration; the counter
// per_row is the time of one row:
//   calc_many/<id>         CalculateMany
//   muparser_bulk/<id>     muParser's bulk mode over the same values, one thread
//   floor_many/<id>        the compiled formula in a loop over the rows

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/Formulas.h"
#include "calc/CalcExpress.h"
#include "calc/CalcParser.h"
#include "calc/NumberText.h"

#ifdef VKT_HAVE_MUPARSER
#include <dlfcn.h>
#include <muParser.h>
#endif

namespace {

// x sweeps [0.5, 1.5) in 1024 steps.
struct TSweep {
  unsigned i = 0;
  long double Next() { return 0.5L + static_cast<long double>(i++ & 1023) / 1024; }
};

void CalcOneShot(benchmark::State& state, std::string formula) {
  const std::vector<std::string> names{"x"};
  const long double x[] = {0.7L};
  for (auto _ : state) {
    TCalcExpress calc;
    calc.SetFormula(formula);
    calc.SetVariables(names);
    std::string text = NumberToText(calc.Calculate(x));
    benchmark::DoNotOptimize(text.data());
  }
}

void CalcRepeat(benchmark::State& state, std::string formula) {
  TCalcExpress calc;
  calc.SetVariables({"x"});
  calc.SetFormula(formula);
  TSweep sweep;
  long double x[1];
  for (auto _ : state) {
    x[0] = sweep.Next();
    benchmark::DoNotOptimize(calc.Calculate(x));
  }
}

constexpr int kRows = 1000;

std::vector<long double> SweepRows() {
  std::vector<long double> xs(kRows);
  for (int i = 0; i < kRows; ++i) xs[i] = 0.5L + static_cast<long double>(i) / kRows;
  return xs;
}

void SetPerRow(benchmark::State& state) {
  state.counters["per_row"] =
      benchmark::Counter(kRows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void CalcMany(benchmark::State& state, std::string formula) {
  TCalcExpress calc;
  calc.SetVariables({"x"});
  calc.SetFormula(formula);
  const std::vector<long double> xs = SweepRows();
  std::vector<long double> results(kRows);
  TRowErrors errors;
  for (auto _ : state) {
    calc.CalculateMany(xs, results, errors);
    benchmark::DoNotOptimize(results.data());
    benchmark::ClobberMemory();
  }
  if (!errors.Empty()) state.SkipWithError("a row failed");
  SetPerRow(state);
}

void CalcEngine(benchmark::State& state, std::string formula) {
  const std::vector<std::string> names{"x"};
  TCalcProgram program;
  if (!TCalcParser::Parse(formula, names, DecimalSeparator(), program)) {
    state.SkipWithError("formula does not parse");
    return;
  }
  TSweep sweep;
  long double x[1];
  for (auto _ : state) {
    x[0] = sweep.Next();
    benchmark::DoNotOptimize(program.Run(x));
  }
}

#ifdef VKT_HAVE_MUPARSER
// The evaluator's function names that muParser lacks.
struct TMuFunction {
  const char* name;
  double (*fn)(double);
};
const TMuFunction kMuFunctions[] = {
    {"tg", [](double v) { return std::tan(v); }},
    {"ctg", [](double v) { return 1 / std::tan(v); }},
    {"sh", [](double v) { return std::sinh(v); }},
    {"ch", [](double v) { return std::cosh(v); }},
    {"th", [](double v) { return std::tanh(v); }},
    {"cth", [](double v) { return 1 / std::tanh(v); }},
    {"arctg", [](double v) { return std::atan(v); }},
    {"arcsin", [](double v) { return std::asin(v); }},
    {"arccos", [](double v) { return std::acos(v); }},
    {"arcctg", [](double v) { return M_PI / 2 - std::atan(v); }},
    {"heaviside", [](double v) { return v >= 0 ? 1.0 : 0.0; }},
    {"sgn", [](double v) { return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0); }},
};

// Only the functions the formula names, so muParser pays for no more.
std::vector<TMuFunction> MuFunctionsOf(const std::string& formula) {
  std::vector<TMuFunction> used;
  for (const auto& f : kMuFunctions) {
    const std::string name = f.name;
    for (std::size_t at = formula.find(name); at != std::string::npos; at = formula.find(name, at + 1)) {
      auto isWord = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
      const bool startOk = at == 0 || !isWord(formula[at - 1]);
      const bool endOk = at + name.size() >= formula.size() || !isWord(formula[at + name.size()]);
      if (startOk && endOk) {
        used.push_back(f);
        break;
      }
    }
  }
  return used;
}

void MuOneShot(benchmark::State& state, std::string formula) {
  const auto functions = MuFunctionsOf(formula);
  for (auto _ : state) {
    double x = 0.7;
    mu::Parser parser;
    parser.DefineVar("x", &x);
    for (const auto& f : functions) parser.DefineFun(f.name, f.fn);
    parser.SetExpr(formula);
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", parser.Eval());
    benchmark::DoNotOptimize(text);
  }
}

// muParser's bulk mode runs on OpenMP threads when its library was built
// so; the comparison is with one thread.
void MuSingleThread() {
  using TSetThreads = void (*)(int);
  if (auto set = reinterpret_cast<TSetThreads>(dlsym(RTLD_DEFAULT, "omp_set_num_threads"))) set(1);
}

void MuBulk(benchmark::State& state, std::string formula) {
  MuSingleThread();
  std::vector<double> xs(kRows), results(kRows);
  const std::vector<long double> sweep = SweepRows();
  for (int i = 0; i < kRows; ++i) xs[i] = static_cast<double>(sweep[i]);
  mu::Parser parser;
  parser.DefineVar("x", xs.data());
  for (const auto& f : MuFunctionsOf(formula)) parser.DefineFun(f.name, f.fn);
  parser.SetExpr(formula);
  parser.Eval(results.data(), kRows);
  for (auto _ : state) {
    parser.Eval(results.data(), kRows);
    benchmark::DoNotOptimize(results.data());
    benchmark::ClobberMemory();
  }
  SetPerRow(state);
}

void MuRepeat(benchmark::State& state, std::string formula) {
  double x = 0.7;
  mu::Parser parser;
  parser.DefineVar("x", &x);
  for (const auto& f : MuFunctionsOf(formula)) parser.DefineFun(f.name, f.fn);
  parser.SetExpr(formula);
  parser.Eval();
  TSweep sweep;
  for (auto _ : state) {
    x = static_cast<double>(sweep.Next());
    benchmark::DoNotOptimize(parser.Eval());
  }
}
#endif

long double FloorE01(long double x) { return x * 2 + 1; }
long double FloorE04(long double x) {
  const long double s = std::sin(x), c = std::cos(x);
  return s * s + c * c * 3 - std::log(x + 1) / 2;
}
long double FloorE08(long double x) {
  const long double x2 = x * x, x3 = x2 * x, x4 = x3 * x, x5 = x4 * x;
  return 1.1L * x2 + 2.2L * x3 - 3.3L * x4 + 4.4L * x5;
}

void Floor(benchmark::State& state, long double (*f)(long double)) {
  TSweep sweep;
  for (auto _ : state) {
    long double x = sweep.Next();
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(f(x));
  }
}

void FloorMany(benchmark::State& state, long double (*f)(long double)) {
  const std::vector<long double> xs = SweepRows();
  std::vector<long double> results(kRows);
  for (auto _ : state) {
    for (int i = 0; i < kRows; ++i) results[i] = f(xs[i]);
    benchmark::DoNotOptimize(results.data());
    benchmark::ClobberMemory();
  }
  SetPerRow(state);
}

void RegisterAll() {
  for (const auto& f : BenchFormulas("eval")) {
    benchmark::RegisterBenchmark(("calc_oneshot/" + f.id).c_str(), CalcOneShot, f.formula);
#ifdef VKT_HAVE_MUPARSER
    benchmark::RegisterBenchmark(("muparser_oneshot/" + f.id).c_str(), MuOneShot, f.formula);
#endif
  }
  for (const auto& f : BenchFormulas("eval")) {
    benchmark::RegisterBenchmark(("calc_repeat/" + f.id).c_str(), CalcRepeat, f.formula);
#ifdef VKT_HAVE_MUPARSER
    benchmark::RegisterBenchmark(("muparser_repeat/" + f.id).c_str(), MuRepeat, f.formula);
#endif
  }
  for (const auto& f : BenchFormulas("eval"))
    benchmark::RegisterBenchmark(("calc_engine/" + f.id).c_str(), CalcEngine, f.formula);
  const struct {
    const char* id;
    long double (*f)(long double);
  } floors[] = {{"E01_short_lin", FloorE01}, {"E04_med_trig", FloorE04}, {"E08_med_poly", FloorE08}};
  for (const auto& fl : floors) benchmark::RegisterBenchmark((std::string("floor/") + fl.id).c_str(), Floor, fl.f);
  for (const auto& f : BenchFormulas("eval")) {
    benchmark::RegisterBenchmark(("calc_many/" + f.id).c_str(), CalcMany, f.formula);
#ifdef VKT_HAVE_MUPARSER
    benchmark::RegisterBenchmark(("muparser_bulk/" + f.id).c_str(), MuBulk, f.formula);
#endif
  }
  for (const auto& fl : floors)
    benchmark::RegisterBenchmark((std::string("floor_many/") + fl.id).c_str(), FloorMany, fl.f);
}

const TBenchRegistrar registrar(RegisterAll);

}  // namespace
