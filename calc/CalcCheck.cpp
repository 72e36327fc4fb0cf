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

std::string CalcActionFormula(std::string_view formula, char separator, std::vector<std::size_t>* origin) {
  std::string text;
  text.reserve(formula.size());
  if (origin) origin->clear();
  for (std::size_t i = 0; i < formula.size(); ++i) {
    if (formula[i] == '$' || formula[i] == kEuroSign) continue;
    text += formula[i];
    if (origin) origin->push_back(i);
  }
  NormaliseSeparator(text, separator);
  for (char& c : text)  // as the component reads it
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
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
