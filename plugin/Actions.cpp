#include "plugin/Actions.h"

#include <exception>
#include <memory>
#include <new>

#include "calc/CalcCheck.h"
#include "calc/CalcParser.h"
#include "calc/NumberText.h"
#include "diff/DiffExpress.h"
#include "plugin/PlugInUtils.h"
#include "runtime/Exception.h"
#include "runtime/FloatEnv.h"

namespace {

const char* const kFormulaError = "Error in formula";

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

}  // namespace

// Both actions run under their export's floating-point guard and use the
// library's parts directly, so that one action reads its formula once and
// enters no guard of its own.

bool CalcAction(std::string formula, const std::string& resultName) {
  try {
    const char separator = DecimalSeparator();
    const std::string text = CalcActionFormula(formula, separator);
    TCalcProgram program;
    const bool read = TCalcParser::Parse(text, {}, separator, program);
    // Whatever goes wrong from here on, the author sees one fixed text.
    try {
      if (!read) throw Exception(kFormulaError);
      // The run starts from clear flags, as under a guard of its own; the
      // reading's conversions may have left some.
      if (TFloatEnvGuard::Raised()) TFloatEnvGuard::Clear();
      std::string value;
      AppendNumberText(value, program.Run({}));
      CallSetVar(Bracketed(resultName), value);
    } catch (...) {
      ReportError(kFormulaError);
    }
  } catch (...) {
    ReportError(CurrentErrorMessage());
  }
  return false;
}

// The differentiator lives on the heap: its node table alone is larger than
// the stack some hosts give the threads they call us on.
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
