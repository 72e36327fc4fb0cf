#include "tests/plugin/SettingsCaseFile.h"

#include <fstream>
#include <stdexcept>

#include "tests/plugin/CaseFile.h"

namespace {

[[noreturn]] void Fail(int line, const std::string& what) {
  throw std::runtime_error("line " + std::to_string(line) + ": " + what);
}

bool AllTexts(const std::vector<TToken>& tokens) {
  for (const TToken& t : tokens)
    if (t.kind != TToken::Text) return false;
  return true;
}

void ReadLine(std::vector<TSettingsCase>& cases, const std::string& s, std::size_t first, int line) {
  auto tokens = ReadTokens(s, first, line);
  const std::string word = tokens[0].value;
  tokens.erase(tokens.begin());
  if (word == "case") {
    if (tokens.size() != 1 || tokens[0].kind != TToken::Word) Fail(line, "case takes one name");
    cases.push_back({tokens[0].value, {}, {}});
    return;
  }
  if (cases.empty()) Fail(line, word + " before the first case");
  if (!AllTexts(tokens)) Fail(line, word + " takes texts in quotes");
  if (word == "text") {
    for (const TToken& t : tokens) cases.back().content += t.value;
  } else if (word == "read") {
    if (tokens.size() != 4) Fail(line, "read takes section, key, default and expected value");
    cases.back().reads.push_back({tokens[0].value, tokens[1].value, tokens[2].value, tokens[3].value, line});
  } else {
    Fail(line, "unknown word " + word);
  }
}

}  // namespace

std::vector<TSettingsCase> ReadSettingsCases(const std::string& path, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot read " + path;
    return {};
  }
  std::vector<TSettingsCase> cases;
  std::string s;
  int line = 0;
  try {
    while (std::getline(file, s)) {
      ++line;
      if (!s.empty() && s.back() == '\r') s.pop_back();
      const std::size_t first = s.find_first_not_of(" \t");
      if (first != std::string::npos && s[first] != '#') ReadLine(cases, s, first, line);
    }
  } catch (const std::exception& e) {
    error = path + ": " + e.what();
    return {};
  }
  return cases;
}
