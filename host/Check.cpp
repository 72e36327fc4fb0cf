#include "host/Check.h"

#include <algorithm>
#include <exception>

#include "calc/CalcCheck.h"
#include "calc/CalcExpress.h"
#include "diff/DiffCheck.h"
#include "host/ActionRun.h"
#include "host/Cp1252.h"

namespace {

const char* ActionName(const TCheckRequest& request) { return request.variable ? "diff" : "calc"; }

const char* Reason(TReadFault fault) {
  switch (fault) {
    case TReadFault::UnexpectedCharacter: return "unexpected character";
    case TReadFault::OperandMissing: return "operand missing";
    case TReadFault::CloseExpected: return "\")\" expected";
    case TReadFault::CloseWithoutOpen: return "\")\" without \"(\"";
    case TReadFault::UnknownName: return "unknown function";
    case TReadFault::CalcOnlyName: return "a function of the calc action only";
    case TReadFault::DiffOnlyName: return "a function of the diff action only";
    case TReadFault::NoVariables: return "unknown name: the calc action knows no variables";
    case TReadFault::BadNumber: return "number does not convert";
    case TReadFault::TooDeep: return "brackets nested too deeply";
    case TReadFault::OpenExpected: return "\"(\" expected after the function";
    case TReadFault::OperatorExpected: return "operator expected";
    case TReadFault::TooLong: return "formula too long";
    default: return "cannot be read here";
  }
}

// The formula as the terminal shows it, a column per character: control
// characters (an escape sequence would act on the terminal) as "?".
std::string Shown(std::string shown) {
  for (char& c : shown) {
    if (c != '\t' && IsControlByte(static_cast<unsigned char>(c))) c = '?';
  }
  return Cp1252ToUtf8(shown);
}

// The diff reader takes only a number as an exponent; "operand missing"
// under a name there would send the author looking for a gap.
bool ExponentNotNumber(const TCheckRequest& request, const TReadCheck& check) {
  if (!request.variable || check.Fault != TReadFault::OperandMissing || check.Position == 0 ||
      check.Position >= request.formula.size())
    return false;
  const auto before = request.formula.find_last_not_of(" \t", check.Position - 1);
  return before != std::string::npos && request.formula[before] == '^';
}

// The readers read with the evaluator library's separator, which for the
// scope of the check is the plug-in's.
TReadCheck Read(const TCheckRequest& request, char separator) {
  const TSeparatorScope scope(separator);
  return request.variable ? CheckDiffFormula(request.formula, *request.variable) : CheckCalcFormula(request.formula);
}

// The calc action reports every failure of its evaluation as "Error in
// formula"; evaluating the same text with the evaluator library gives the
// failure's own message. Empty when it evaluates.
std::string EvaluationFailure(const TCheckRequest& request, char separator) {
  const TSeparatorScope scope(separator);
  try {
    TCalcExpress calc;
    calc.SetFormula(CalcActionFormula(request.formula, separator));
    calc.SetVariables({});
    const long double arguments[101] = {};
    calc.Calculate(arguments);
    return {};
  } catch (const std::exception& e) {
    return e.what();
  }
}

TActionResult RunRequest(TZxHost& host, const TCheckRequest& request) {
  const std::string result = "zxhost check";
  if (request.variable) return RunAction(host, 2, {request.formula, *request.variable, result});
  return RunAction(host, 1, {request.formula, result});
}

}  // namespace

std::optional<std::string> RefusalLines(const TCheckRequest& request, char separator) {
  const TReadCheck check = Read(request, separator);
  if (check.Fault == TReadFault::None) return std::nullopt;
  const std::size_t column = std::min(check.Position, request.formula.size());
  std::string pad;  // a tab stays a tab, so the caret keeps its column
  for (std::size_t i = 0; i < column; ++i) pad += request.formula[i] == '\t' ? '\t' : ' ';
  const char* reason = ExponentNotNumber(request, check) ? "the exponent must be a number" : Reason(check.Fault);
  return Shown(request.formula) + "\n" + pad + "^ " + ActionName(request) + ": " + reason + "\n";
}

int RunCheck(TZxHost& host, const TCheckRequest& request, std::ostream& out) {
  const char separator = PlugInSeparator(host);
  if (const auto refusal = RefusalLines(request, separator)) {
    out << *refusal;
    return 1;
  }
  const TActionResult stored = RunRequest(host, request);
  out << ActionName(request) << ": ";
  if (stored.ok) {
    out << Cp1252ToUtf8(stored.text) << "\n";
    return 0;
  }
  const std::string own = request.variable ? stored.text : EvaluationFailure(request, separator);
  out << "read, but " << (request.variable ? "differentiating" : "evaluating") << " fails: "
      << Cp1252ToUtf8(own.empty() ? stored.text : own) << "\n";
  return 0;
}

void ExplainFailure(TZxHost& host, const TCheckRequest& request, std::ostream& out) {
  const char separator = PlugInSeparator(host);
  if (const auto refusal = RefusalLines(request, separator)) {
    out << *refusal;
  } else if (!request.variable) {
    const std::string own = EvaluationFailure(request, separator);
    if (!own.empty()) out << "calc: " << Cp1252ToUtf8(own) << "\n";
  }
}
