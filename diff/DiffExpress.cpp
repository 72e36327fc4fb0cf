#include "diff/DiffExpress.h"

#include <algorithm>
#include <cassert>

#include "calc/NumberText.h"
#include "runtime/Exception.h"
#include "runtime/FloatEnv.h"

TDiffExpress::TDiffExpress(TComponent* owner) : TComponent(owner), FFormula("0"), FVariable("t") {}

TDiffExpress::~TDiffExpress() { FNodes.Clear(); }

const std::string& TDiffExpress::Formula() const { return FFormula; }

void TDiffExpress::SetFormula(const std::string& value) {
  TFloatEnvGuard guard;
  FFormula = value;
}

void TDiffExpress::RaiseError(const char* message) { throw Exception(message); }

void TDiffExpress::Differentiate(const std::string& variable, std::string& result) {
  TFloatEnvGuard guard;
  const char sep = DecimalSeparator();
  FVariable = variable;
  FNodes.Clear();
  FText.clear();
  FFolded.clear();
  FOut.clear();
  FNodes.SetSource(tsFormula, &FFormula);
  FNodes.SetSource(tsDeriv, &FText);
  FNodes.SetSource(tsFolded, &FFolded);

  FFormulaRoot = FReader.Read(FNodes, tsFormula, FFormula, sep);
  if (!FFormulaRoot) RaiseError("Error in formula.");

  // The derivative's reading is appended to the formula's tree. When the
  // text would need more nodes than are left, its reading would fail, so it
  // is not finished (a conversion error of an exponent still comes first).
  const int before = FNodes.Count();
  // The text usually runs to a few times the formula's length: room for
  // that at once rather than a series of doublings.
  FText.reserve(std::min<std::size_t>(8 * FFormula.size() + 64, 1 << 18));
  const int expected =
      FWriter.Write(FNodes, FFormulaRoot, FVariable, sep, TNodeTable::kCapacity - before, FText);
  FDerivRoot = expected < 0 ? 0 : FReader.Read(FNodes, tsDeriv, FText, sep);
  if (!FDerivRoot) RaiseError("Error in formula.");
  assert(FNodes.Count() - before == expected && FDerivRoot == FNodes.Count());

  const int root = FSimplifier.Run(FNodes, before + 1, FDerivRoot, FFolded);
  FOut.reserve(FText.size() / 4 + 16);
  FPrinter.Print(FNodes, root, FOut);
  result.assign(FOut);
  FNodes.Clear();
}

void TDiffExpress::LimitBuffers(std::size_t bytes) {
  for (std::string* buffer : {&FText, &FFolded, &FOut})
    if (buffer->capacity() > bytes) std::string().swap(*buffer);
}
