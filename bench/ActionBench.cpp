// The two actions through the plug-in's own export, as a host calls them:
// the host loads the library, registers, and calls zxExecAction with the
// formula in its parameter blocks. The calc action gets x written as (0.7).
//
//   action_calc/<id>, action_diff/<id>            the plug-in built here
//   action_calc_base/<id>, action_diff_base/<id>  a second plug-in, when
//                       VKT_BASE_PLUGIN names one (an older build, say), so
//                       that both are measured in the same run
//
// VKT_PLUGIN replaces the path of the first. Compare with muparser_oneshot
// and ginac_oneshot of the same run.

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cctype>
#include <cstdlib>
#include <string>

#include "bench/Formulas.h"
#include "plugin/PlugInApi.h"

namespace {

// What the host keeps of the last variable set, as a host would.
std::string gLastValue;

bool AddAction(std::int32_t, const char*, const char*, const std::uint8_t*, std::int32_t, std::uint8_t) {
  return true;
}

bool SetVar(const char*, const char* value) {
  gLastValue.assign(value);
  return true;
}

// A loaded plug-in with its action export; null when it did not load.
TZxExecAction LoadPlugIn(const char* path) {
  void* handle = path ? dlopen(path, RTLD_NOW | RTLD_LOCAL) : nullptr;
  if (!handle) return nullptr;
  auto reg = reinterpret_cast<TZxRegisterPlugIn>(dlsym(handle, "zxRegisterPlugIn"));
  auto exec = reinterpret_cast<TZxExecAction>(dlsym(handle, "zxExecAction"));
  if (!reg || !exec) return nullptr;
  reg(&AddAction, nullptr, nullptr, &SetVar);
  return exec;
}

// Every whole word x of formula written as (0.7).
std::string WithValueOfX(const std::string& formula) {
  auto isWord = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
  std::string out;
  for (std::size_t i = 0; i < formula.size(); ++i) {
    const bool alone = formula[i] == 'x' && (i == 0 || !isWord(formula[i - 1])) &&
                       (i + 1 == formula.size() || !isWord(formula[i + 1]));
    out += alone ? std::string("(0.7)") : std::string(1, formula[i]);
  }
  return out;
}

void Action(benchmark::State& state, TZxExecAction exec, std::int32_t action, std::string formula) {
  std::string variable = "x", result = "r";
  char* params[3] = {formula.data(), action == 1 ? result.data() : variable.data(), result.data()};
  for (auto _ : state) {
    exec(action, params);
    benchmark::DoNotOptimize(gLastValue.data());
  }
}

void RegisterPlugIn(const char* suffix, TZxExecAction exec) {
  if (!exec) return;
  for (const auto& f : BenchFormulas("eval"))
    benchmark::RegisterBenchmark(("action_calc" + std::string(suffix) + "/" + f.id).c_str(), Action, exec, 1,
                                 WithValueOfX(f.formula));
  for (const auto& f : BenchFormulas("diff"))
    benchmark::RegisterBenchmark(("action_diff" + std::string(suffix) + "/" + f.id).c_str(), Action, exec, 2,
                                 f.formula);
}

void RegisterAll() {
  const char* own = std::getenv("VKT_PLUGIN");
  RegisterPlugIn("", LoadPlugIn(own ? own : VKT_PLUGIN_FILE));
  RegisterPlugIn("_base", LoadPlugIn(std::getenv("VKT_BASE_PLUGIN")));
}

const TBenchRegistrar registrar(RegisterAll);

}  // namespace
