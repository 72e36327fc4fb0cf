#include "plugin/Actions.h"

#include <algorithm>
#include <array>
#include <exception>
#include <memory>
#include <new>
#include <vector>

#include "calc/CalcExpress.h"
#include "calc/NumberText.h"
#include "diff/DiffExpress.h"
#include "plugin/PlugInUtils.h"
#include "runtime/Exception.h"

namespace {

constexpr char kEuroSign = '\x80';  // in the Windows-1252 code page
constexpr std::size_t kArgumentCount = 101;

std::string Bracketed(const std::string& name) { return "[" + name + "]"; }

// The message of the error being handled, for "[LastError]".
std::string CurrentErrorMessage() {
  try {
    throw;
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::bad_alloc&) {
    return "Out of memory";
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
}

void ReportError(const std::string& message) {
  try {
    CallSetVar(kLastErrorVar, message);
  } catch (...) {
    // Nothing is left to report the failure with.
  }
}

void RemoveCurrencySigns(std::string& formula) {
  std::erase(formula, '$');
  std::erase(formula, kEuroSign);
}

}  // namespace

void NormaliseSeparator(std::string& formula, char separator) {
  if (separator == ',')
    std::replace(formula.begin(), formula.end(), '.', ',');
  else if (separator == '.')
    std::replace(formula.begin(), formula.end(), ',', '.');
}

// The components live on the heap: the differentiator's node table alone is
// larger than the stack some hosts give the threads they call us on.

bool CalcAction(std::string formula, const std::string& resultName) {
  try {
    const auto calc = std::make_unique<TCalcExpress>();
    std::vector<long double> arguments(kArgumentCount);
    arguments[0] = TextToNumber("0");
    NormaliseSeparator(formula, DecimalSeparator());
    RemoveCurrencySigns(formula);
    calc->SetFormula(formula);
    calc->SetVariables({});
    // Whatever goes wrong from here on, the author sees one fixed text.
    try {
      const std::string value = NumberToText(calc->Calculate(arguments));
      CallSetVar(Bracketed(resultName), value);
    } catch (...) {
      ReportError("Error in formula");
    }
  } catch (...) {
    ReportError(CurrentErrorMessage());
  }
  return false;
}

bool DiffAction(std::string formula, const std::string& variable, const std::string& resultName) {
  try {
    const auto diff = std::make_unique<TDiffExpress>();
    NormaliseSeparator(formula, DecimalSeparator());
    diff->SetFormula(formula);
    std::string derivative;
    diff->Differentiate(variable, derivative);
    CallSetVar(Bracketed(resultName), derivative);
  } catch (...) {
    ReportError(CurrentErrorMessage());
  }
  return false;
}
