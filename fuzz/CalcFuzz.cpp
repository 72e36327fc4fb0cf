// Arbitrary bytes as a formula: parsing and evaluating must end in a value
// or an Exception, never in a crash, a sanitizer report or a hang. The
// calc action's check must agree with its reading: a formula the check
// takes reads and has no name without a value; one that does not read is
// refused, at a place inside the text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "calc/CalcCheck.h"
#include "calc/CalcExpress.h"
#include "calc/NumberText.h"
#include "runtime/Exception.h"

namespace {

// The message the action's component ends with, or "" for a value.
std::string ActionOutcome(const std::string& formula) {
  TCalcExpress calc;
  calc.SetFormula(CalcActionFormula(formula, DecimalSeparator()));
  try {
    calc.Calculate({});
  } catch (const Exception& e) {
    return e.Message();
  }
  return "";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string formula(reinterpret_cast<const char*>(data), size);
  TCalcExpress calc;
  calc.SetFormula(formula);
  calc.SetVariables({"x", "y"});
  const long double values[] = {0.5L, 2};
  try {
    calc.Calculate(values);
  } catch (const Exception&) {
  }
  const TReadCheck check = CheckCalcFormula(formula);
  const std::string outcome = ActionOutcome(formula);
  const bool reads = outcome != "Error in formula.";
  if (check.Fault == TReadFault::None && (!reads || outcome == "Variable without a value.")) std::abort();
  if (check.Fault != TReadFault::None && check.Fault != TReadFault::NoVariables && reads) std::abort();
  if (check.Position > formula.size()) std::abort();
  return 0;
}
