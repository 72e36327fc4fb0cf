#pragma once
// Shared helpers of the differentiator tests.

#include <string>

#include "calc/NumberText.h"
#include "diff/DiffExpress.h"
#include "runtime/Exception.h"

// The derivative, or "!" followed by the message of the error.
inline std::string Derive(const std::string& formula, const std::string& variable = "x") {
  TDiffExpress diff;
  diff.SetFormula(formula);
  std::string result;
  try {
    diff.Differentiate(variable, result);
  } catch (const Exception& e) {
    return "!" + e.Message();
  }
  return result;
}

// Sets the decimal separator for one scope.
class TSeparatorScope {
public:
  explicit TSeparatorScope(char sep) : FSaved(DecimalSeparator()) { SetDecimalSeparator(sep); }
  ~TSeparatorScope() { SetDecimalSeparator(FSaved); }
  TSeparatorScope(const TSeparatorScope&) = delete;
  TSeparatorScope& operator=(const TSeparatorScope&) = delete;

private:
  char FSaved;
};

inline const std::string kErrFormula = "!Error in formula.";
inline const std::string kErrDivision = "!Dividion by zero.";
inline const std::string kErrZeroDivide = "!Gleitkommadivision durch Null";
inline const std::string kErrInvalid = "!Ung\xFCltige Gleitkommaoperation";
inline const std::string kErrOverflow = "!Gleitkomma\xFC" "berlauf";
inline std::string ConvertErr(const std::string& text) {
  return "!'" + text + "' ist kein g\xFCltiger Gleitkommawert";
}
