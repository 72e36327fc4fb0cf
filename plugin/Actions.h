#pragma once
// The two actions: vktCalcExpress (1) evaluates a formula and stores the
// number as text, vktDiffExpress (2) stores the derivative of a formula.
// Results and errors leave only through the host's SetVarProc: the result in
// "[" + result name + "]", an error in "[LastError]" (written only on
// failure). Both return false in every case, as the host expects.

#include <string>

inline constexpr const char* kLastErrorVar = "[LastError]";

bool CalcAction(std::string formula, const std::string& resultName);
bool DiffAction(std::string formula, const std::string& variable, const std::string& resultName);
