#include "calc/CalcCheck.h"

#include <algorithm>

#include "calc/CalcParser.h"
#include "calc/NumberText.h"
#include "runtime/FloatEnv.h"

namespace {
constexpr char kEuroSign = '\x80';  // in the Windows-1252 code page
}  // namespace

void NormaliseSeparator(std::string& formula, char separator) {
  if (separator == ',')
    std::replace(formula.begin(), formula.end(), '.', ',');
  else if (separator == '.')
    std::replace(formula.begin(), formula.end(), ',', '.');
}

// One pass: each byte is dropped, or stored with the separator and the case
// changed as NormaliseSeparator and the component would change them.
std::string CalcActionFormula(std::string_view formula, char separator, std::vector<std::size_t>* origin) {
  const char other = separator == ',' ? '.' : separator == '.' ? ',' : separator;
  std::string text(formula.size(), '\0');
  if (origin) origin->clear();
  char* out = text.data();
  for (std::size_t i = 0; i < formula.size(); ++i) {
    char c = formula[i];
    if (c == '$' || c == kEuroSign) continue;
    if (c == other) c = separator;
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    *out++ = c;
    if (origin) origin->push_back(i);
  }
  text.resize(static_cast<std::size_t>(out - text.data()));
  return text;
}

TReadCheck CheckCalcFormula(std::string_view formula) {
  TFloatEnvGuard guard;  // literals are converted as they are read
  const char separator = DecimalSeparator();
  std::vector<std::size_t> origin;
  const std::string text = CalcActionFormula(formula, separator, &origin);
  TCalcProgram program;
  const TCalcRead read = TCalcParser::Read(text, {}, separator, program);
  TReadCheck check = NameBeforeBracket(text, read.Check, rsCalc);
  const std::size_t failedAt = check.Fault == TReadFault::None ? std::string_view::npos : check.Position;
  if (read.FirstUnknownName < failedAt) check = {TReadFault::NoVariables, read.FirstUnknownName};
  if (check.Fault != TReadFault::None)
    check.Position = check.Position < origin.size() ? origin[check.Position] : formula.size();
  return check;
}
