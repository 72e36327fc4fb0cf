#pragma once
// The check of a formula that reads exactly as the diff action does.

#include <string_view>

#include "formula/ReadFault.h"

// Whether, and where not, the diff action's reader takes formula (after
// the action makes its decimal separator the regional one). The variable
// does not change what the reader takes.
TReadCheck CheckDiffFormula(std::string_view formula, std::string_view variable);
