#include "host/FormulaLines.h"

#include <string>

#include "host/Cp1252.h"

namespace {

std::string_view Trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

TLineOutcome RunFormulaLine(TZxHost& host, std::string_view line, std::ostream& out) {
  line = Trimmed(line);
  if (line.empty() || line.front() == '#') return TLineOutcome::Skipped;
  const auto space = line.find(' ');
  if (line.starts_with("d/d") && space != std::string_view::npos && space > 3) {
    const std::string variable(line.substr(3, space - 3));
    const std::string formula(Trimmed(line.substr(space)));
    host.ExecAction(2, {Utf8ToCp1252(formula), Utf8ToCp1252(variable), std::string("result")});
  } else {
    host.ExecAction(1, {Utf8ToCp1252(std::string(line)), std::string("result")});
  }
  PrintVariablesSet(host, out);
  const bool failed = host.ErrorSet();
  host.ClearLog();
  return failed ? TLineOutcome::Failed : TLineOutcome::Done;
}

bool RunFormulaLines(TZxHost& host, std::istream& in, std::ostream& out) {
  bool allDone = true;
  std::string line;
  while (std::getline(in, line))
    if (RunFormulaLine(host, line, out) == TLineOutcome::Failed) allDone = false;
  return allDone;
}
