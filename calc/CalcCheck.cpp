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

// Each byte is stored with the separator and the case changed as
// NormaliseSeparator and the component would change them, in a loop the
// compiler turns into vector code (no branch, no short-circuit); the currency
// signs, rare, are then dropped in a second pass. The text only shrinks, so
// it is written over itself.
void MakeCalcActionFormula(std::string& formula, char separator, std::vector<std::size_t>* origin) {
  const char other = separator == ',' ? '.' : separator == '.' ? ',' : separator;
  char* const text = formula.data();
  const std::size_t size = formula.size();
  unsigned char drops = 0;
  for (std::size_t i = 0; i < size; ++i) {
    char c = text[i];
    drops |= static_cast<unsigned char>((c == '$') | (c == kEuroSign));
    c = c == other ? separator : c;
    text[i] = static_cast<unsigned char>(c - 'A') < 26 ? static_cast<char>(c + ('a' - 'A')) : c;
  }
  if (!drops && !origin) return;
  if (origin) origin->clear();
  char* out = formula.data();
  for (std::size_t i = 0; i < formula.size(); ++i) {
    const char c = formula[i];
    if (c == '$' || c == kEuroSign) continue;
    *out++ = c;
    if (origin) origin->push_back(i);
  }
  formula.resize(static_cast<std::size_t>(out - formula.data()));
}

std::string CalcActionFormula(std::string_view formula, char separator, std::vector<std::size_t>* origin) {
  std::string text(formula);
  MakeCalcActionFormula(text, separator, origin);
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
