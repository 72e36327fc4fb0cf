#include "diff/DiffExpress.h"

#include "runtime/Exception.h"

// Placeholder until the differentiator lands.
TDiffExpress::TDiffExpress(TComponent* owner) : TComponent(owner) {}
TDiffExpress::~TDiffExpress() = default;
const std::string& TDiffExpress::Formula() const { return FFormula; }
void TDiffExpress::SetFormula(const std::string& value) { FFormula = value; }
void TDiffExpress::Differentiate(const std::string&, std::string&) { throw Exception("Error in formula."); }
