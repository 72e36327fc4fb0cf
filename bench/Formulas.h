#pragma once
// The benchmark formulas: tab-separated lines "kind, id, formula" of the
// shared formulas file, read once by every part of the benchmark binary.

#include <string>
#include <vector>

struct TBenchFormula {
  std::string kind;  // "eval" or "diff"
  std::string id;
  std::string formula;
};

// The formulas of the given kind, in file order; empty when the file is missing.
const std::vector<TBenchFormula>& BenchFormulas(const std::string& kind);

// Each bench unit registers its benchmarks through one of these, run by main
// after the formulas are read.
struct TBenchRegistrar {
  explicit TBenchRegistrar(void (*registerAll)());
};
