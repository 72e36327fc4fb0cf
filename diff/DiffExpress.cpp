#include "diff/DiffExpress.h"

#include <algorithm>

#include "calc/NumberText.h"
#include "runtime/Exception.h"
#include "runtime/FloatEnv.h"

TDiffExpress::TDiffExpress(TComponent* owner) : TComponent(owner), FFormula("0") {}

TDiffExpress::~TDiffExpress() { FNodes.Clear(); }

const std::string& TDiffExpress::Formula() const { return FFormula; }

void TDiffExpress::SetFormula(const std::string& value) {
  TFloatEnvGuard guard;
  FFormula = value;
}

void TDiffExpress::RaiseError(const char* message) { throw Exception(message); }

void TDiffExpress::Differentiate(const std::string& variable, std::string& result) {
  TFloatEnvGuard guard;
  Differentiate(FFormula, variable, result);
}

void TDiffExpress::Differentiate(const std::string& formula, std::string_view variable, std::string& result) {
  const char sep = DecimalSeparator();
  FNodes.Clear();
  FText.clear();
  FFolded.clear();
  FOut.clear();
  FNodes.SetSource(tsFormula, &formula);
  FNodes.SetSource(tsDeriv, &FText);
  FNodes.SetSource(tsFolded, &FFolded);

  const int formulaRoot = FReader.Read(FNodes, tsFormula, formula, sep);
  if (!formulaRoot) RaiseError("Error in formula.");
  // The derivative's tree follows the formula's in the same table.
  const int before = FNodes.Count();
  const int derivRoot = FBuilder.Build(FNodes, formulaRoot, variable, sep, FText);
  if (!derivRoot) RaiseError("Error in formula.");

  const int root = FSimplifier.Run(FNodes, before + 1, derivRoot, FFolded);
  FOut.reserve(4 * static_cast<std::size_t>(derivRoot - before) + 16);
  FPrinter.Print(FNodes, root, FOut);
  result.assign(FOut);
  FNodes.Clear();
}

void TDiffExpress::LimitBuffers(std::size_t bytes) {
  for (std::string* buffer : {&FText, &FFolded, &FOut})
    if (buffer->capacity() > bytes) std::string().swap(*buffer);
}
