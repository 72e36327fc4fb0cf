#include "host/ActionRun.h"

#include <algorithm>

#include "calc/NumberText.h"

TActionResult RunAction(TZxHost& host, std::int32_t action, const std::vector<std::optional<std::string>>& params) {
  host.ExecAction(action, params);
  const std::string target = "[" + params.back().value_or("") + "]";
  TActionResult result{false, "no result"};
  for (const TVariableSet& set : host.VariablesSet()) {
    if (set.name == "[LastError]") result = {false, set.value};
    if (set.name == target && !host.ErrorSet()) result = {true, set.value};
  }
  host.ClearLog();
  return result;
}

char PlugInSeparator(TZxHost& host) {
  const TActionResult half = RunAction(host, 1, {std::string("1/2"), std::string("zxhost separator")});
  if (half.ok && half.text.size() == 3 && half.text[0] == '0' && half.text[2] == '5') return half.text[1];
  return DecimalSeparator();
}

std::string Normalised(std::string text, char separator) {
  if (separator == ',') std::replace(text.begin(), text.end(), '.', ',');
  if (separator == '.') std::replace(text.begin(), text.end(), ',', '.');
  return text;
}

TSeparatorScope::TSeparatorScope(char separator) : FSaved(DecimalSeparator()) { SetDecimalSeparator(separator); }
TSeparatorScope::~TSeparatorScope() { SetDecimalSeparator(FSaved); }
