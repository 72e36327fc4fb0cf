#pragma once
// The calc action's formula as its reader sees it, and the check of a
// formula that reads exactly as the action does.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formula/ReadFault.h"

// Makes the formula's decimal separator the regional one: with "," every "."
// becomes ","; with "." every "," becomes "."; any other separator leaves
// the text alone.
void NormaliseSeparator(std::string& formula, char separator);

// The formula the calc action reads: the separator made the regional one,
// the currency signs "$" and the euro sign (Windows-1252) removed, and in
// lower case, as the component reads it.
// origin, when given, receives for each byte of the result the offset of
// the byte of formula it came from.
std::string CalcActionFormula(std::string_view formula, char separator, std::vector<std::size_t>* origin = nullptr);
// The same, in place: the action's own copy of the formula becomes its text.
void MakeCalcActionFormula(std::string& formula, char separator, std::vector<std::size_t>* origin = nullptr);

// Whether, and where not, the calc action's reader takes formula, with
// positions in formula as given. The action defines no variables, so a name
// that is no function is NoVariables, unless a reading error comes first.
TReadCheck CheckCalcFormula(std::string_view formula);
