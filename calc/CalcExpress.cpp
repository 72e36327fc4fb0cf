#include "calc/CalcExpress.h"

#include "calc/CalcParser.h"
#include "calc/NumberText.h"
#include "runtime/Exception.h"
#include "runtime/FloatEnv.h"

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
  if (!FHasProgram) throw Exception("Error in formula.");
  return FProgram.Run(values);
}
