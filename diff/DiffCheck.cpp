#include "diff/DiffCheck.h"

#include <memory>
#include <string>

#include "calc/CalcCheck.h"
#include "calc/NumberText.h"
#include "diff/DiffReader.h"

TReadCheck CheckDiffFormula(std::string_view formula, std::string_view) {
  const char separator = DecimalSeparator();
  std::string text(formula);
  NormaliseSeparator(text, separator);
  const auto table = std::make_unique<TNodeTable>();  // too large for some threads' stacks
  table->SetSource(tsFormula, &text);
  TDiffReader reader;
  if (reader.Read(*table, tsFormula, text, separator)) return {};
  return NameBeforeBracket(text, reader.LastFault(), rsDiff);
}
