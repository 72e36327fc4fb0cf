#pragma once
// The two actions: vktCalcExpress (1) evaluates a formula and stores the
// number as text, vktDiffExpress (2) stores the derivative of a formula.
// Results and errors leave only through the host's SetVarProc: the result in
// "[" + result name + "]", an error in "[LastError]" (written only on
// failure). Both return false in every case, as the host expects.

#include <string>

inline constexpr const char* kLastErrorVar = "[LastError]";

// Makes the formula's decimal separator the regional one: with "," every "."
// becomes ","; with "." every "," becomes "."; any other separator leaves
// the text alone.
void NormaliseSeparator(std::string& formula, char separator);

bool CalcAction(std::string formula, const std::string& resultName);
bool DiffAction(std::string formula, const std::string& variable, const std::string& resultName);
