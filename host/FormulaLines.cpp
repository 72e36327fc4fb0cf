#include "host/FormulaLines.h"

#include <string>

#include "host/Check.h"
#include "host/Cp1252.h"

namespace {

std::string_view Trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// "d/dVAR FORMULA" asks the diff action, anything else the calc action.
TCheckRequest Request(std::string_view line) {
  const auto space = line.find(' ');
  if (line.starts_with("d/d") && space != std::string_view::npos && space > 3)
    return {Utf8ToCp1252(Trimmed(line.substr(space))), Utf8ToCp1252(line.substr(3, space - 3))};
  return {Utf8ToCp1252(line), std::nullopt};
}

}  // namespace

TLineOutcome RunFormulaLine(TZxHost& host, std::string_view line, std::ostream& out) {
  line = Trimmed(line);
  if (line.empty() || line.front() == '#') return TLineOutcome::Skipped;
  const TCheckRequest request = Request(line);
  if (request.variable)
    host.ExecAction(2, {request.formula, *request.variable, std::string("result")});
  else
    host.ExecAction(1, {request.formula, std::string("result")});
  PrintVariablesSet(host, out);
  const bool failed = host.ErrorSet();
  host.ClearLog();
  if (!failed) return TLineOutcome::Done;
  ExplainFailure(host, request, out);
  return TLineOutcome::Failed;
}

bool RunFormulaLines(TZxHost& host, std::istream& in, std::ostream& out) {
  bool allDone = true;
  std::string line;
  while (std::getline(in, line))
    if (RunFormulaLine(host, line, out) == TLineOutcome::Failed) allDone = false;
  return allDone;
}
