#include "calc/CalcExpress.h"

#include <limits>

#include "calc/CalcParser.h"
#include "calc/NumberText.h"
#include "runtime/Exception.h"
#include "runtime/FloatEnv.h"

namespace {
const char* const kNoProgram = "Error in formula.";
}

TCalcExpress::TCalcExpress(TComponent* owner) : TComponent(owner) { SetFormula("0"); }

TCalcExpress::~TCalcExpress() = default;

const std::string& TCalcExpress::Formula() const { return FFormula; }

void TCalcExpress::SetFormula(const std::string& value) {
  TFloatEnvGuard guard;
  FFormula = value;
  for (char& c : FFormula)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  Parse();
}

std::vector<std::string>& TCalcExpress::Variables() { return FVariables; }

void TCalcExpress::SetVariables(const std::vector<std::string>& names) {
  TFloatEnvGuard guard;
  FVariables = names;
  Parse();  // the formula is lower-cased already
}

// Names are resolved here only: later changes to the list through
// Variables() leave the program as it is until the next parse.
void TCalcExpress::Parse() {
  FHasProgram = TCalcParser::Parse(FFormula, FVariables, DecimalSeparator(), FProgram);
}

long double TCalcExpress::Calculate(std::span<const long double> values) {
  TFloatEnvGuard guard;
  if (!FHasProgram) throw Exception(kNoProgram);
  return FProgram.Run(values);
}

void TCalcExpress::CalculateMany(std::span<const long double> values, std::span<long double> results,
                                 TRowErrors& errors) {
  TFloatEnvGuard guard;
  const std::size_t width = FVariables.size(), rows = results.size();
  const bool sizeFits = width == 0 ? values.empty() : rows <= values.size() / width && values.size() == rows * width;
  if (!sizeFits)
    throw Exception(std::to_string(values.size()) + " values do not make " + std::to_string(rows) + " rows of " +
                    std::to_string(width) + ".");
  if (FHasProgram) {
    FProgram.RunMany(values, width, results, errors);
    return;
  }
  errors.Clear();
  for (std::size_t row = 0; row < rows; ++row) {
    results[row] = std::numeric_limits<long double>::quiet_NaN();
    errors.Add(row, kNoProgram);
  }
}
