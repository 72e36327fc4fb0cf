#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <map>

#include "bench/Formulas.h"

namespace {

std::vector<void (*)()>& Registrars() {
  static std::vector<void (*)()> list;
  return list;
}

std::map<std::string, std::vector<TBenchFormula>> ReadFormulas() {
  std::map<std::string, std::vector<TBenchFormula>> byKind;
  const char* path = std::getenv("VKT_FORMULAS");
  std::ifstream in(path ? path : VKT_FORMULAS_FILE);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const auto t1 = line.find('\t'), t2 = line.find('\t', t1 + 1);
    if (t1 == std::string::npos || t2 == std::string::npos) continue;
    TBenchFormula f{line.substr(0, t1), line.substr(t1 + 1, t2 - t1 - 1), line.substr(t2 + 1)};
    byKind[f.kind].push_back(f);
  }
  return byKind;
}

}  // namespace

const std::vector<TBenchFormula>& BenchFormulas(const std::string& kind) {
  static const auto all = ReadFormulas();
  static const std::vector<TBenchFormula> none;
  auto it = all.find(kind);
  return it == all.end() ? none : it->second;
}

TBenchRegistrar::TBenchRegistrar(void (*registerAll)()) { Registrars().push_back(registerAll); }

int main(int argc, char** argv) {
  for (auto registerAll : Registrars()) registerAll();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
