#include "calc/CalcExpress.h"

#include "runtime/Exception.h"

// Placeholder until the evaluator lands.
TCalcExpress::TCalcExpress(TComponent* owner) : TComponent(owner), FFormula("0") {}
TCalcExpress::~TCalcExpress() = default;
const std::string& TCalcExpress::Formula() const { return FFormula; }
void TCalcExpress::SetFormula(const std::string& value) { FFormula = value; }
std::vector<std::string>& TCalcExpress::Variables() { return FVariables; }
void TCalcExpress::SetVariables(const std::vector<std::string>& names) { FVariables = names; }
long double TCalcExpress::Calculate(std::span<const long double>) { throw Exception("not built yet"); }
