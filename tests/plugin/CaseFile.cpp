#include "tests/plugin/CaseFile.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace {

[[noreturn]] void Fail(int line, const std::string& what) {
  throw std::runtime_error("line " + std::to_string(line) + ": " + what);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// TEXT = '"' { char | "\" ( '"' | "\" | "r" | "n" | "t" | "x" hex hex ) } '"'
std::string ReadText(const std::string& s, std::size_t& i, int line) {
  std::string out;
  for (++i; i < s.size() && s[i] != '"'; ++i) {
    if (s[i] != '\\') {
      out += s[i];
      continue;
    }
    if (++i >= s.size()) Fail(line, "escape at the end of the line");
    switch (s[i]) {
      case '"': case '\\': out += s[i]; break;
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'x': {
        const int hi = i + 1 < s.size() ? HexDigit(s[i + 1]) : -1;
        const int lo = i + 2 < s.size() ? HexDigit(s[i + 2]) : -1;
        if (hi < 0 || lo < 0) Fail(line, "\\x needs two hexadecimal digits");
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default: Fail(line, std::string("unknown escape \\") + s[i]);
    }
  }
  if (i >= s.size()) Fail(line, "text without its closing quote");
  ++i;
  return out;
}

std::vector<TToken> Tokens(const std::string& s, std::size_t i, int line) {
  std::vector<TToken> tokens;
  for (;;) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    if (i >= s.size()) return tokens;
    if (s[i] == '"') {
      tokens.push_back({TToken::Text, ReadText(s, i, line)});
      if (i < s.size() && s[i] != ' ' && s[i] != '\t') Fail(line, "blank expected after a text");
      continue;
    }
    const std::size_t end = s.find_first_of(" \t", i);
    std::string word = s.substr(i, end == std::string::npos ? std::string::npos : end - i);
    i = end == std::string::npos ? s.size() : end;
    tokens.push_back({word == "nil" ? TToken::Nil : TToken::Word, word});
  }
}

void ReadHeader(TCase& c, const std::string& word, const std::vector<TToken>& args, int line) {
  if (!c.steps.empty()) Fail(line, word + " must come before the first step");
  if (word == "ini") {
    if (args.size() > 1 || (args.size() == 1 && args[0].kind != TToken::Text)) Fail(line, "ini takes one text");
    c.hasIni = true;
    c.ini.push_back(args.empty() ? "" : args[0].value);
  } else if (word == "separator") {
    if (args.size() != 1 || args[0].value.size() != 1) Fail(line, "separator takes one character");
    c.separator = args[0].value[0];
  } else if (word == "deep-folder") {
    c.deepFolder = true;
  } else {
    Fail(line, "unknown word " + word);
  }
}

}  // namespace

std::vector<TCase> ReadCaseFile(const std::string& path, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot read " + path;
    return {};
  }
  std::vector<TCase> cases;
  std::string s;
  int line = 0;
  try {
    while (std::getline(file, s)) {
      ++line;
      if (!s.empty() && s.back() == '\r') s.pop_back();
      const std::size_t first = s.find_first_not_of(" \t");
      if (first == std::string::npos || s[first] == '#') continue;
      if (s[first] == '>' || s[first] == '=') {
        if (cases.empty()) Fail(line, "step before the first case");
        auto tokens = Tokens(s, first + 1, line);
        if (tokens.empty() || tokens[0].kind != TToken::Word) Fail(line, "a name must follow > or =");
        TLine entry{tokens[0].value, {tokens.begin() + 1, tokens.end()}, line};
        if (s[first] == '>') {
          cases.back().steps.push_back({entry, {}});
        } else {
          if (cases.back().steps.empty()) Fail(line, "expectation before the first step");
          cases.back().steps.back().expects.push_back(entry);
        }
        continue;
      }
      auto tokens = Tokens(s, first, line);
      const std::string word = tokens[0].value;
      tokens.erase(tokens.begin());
      if (word == "case") {
        if (tokens.size() != 1 || tokens[0].kind != TToken::Word) Fail(line, "case takes one name");
        cases.push_back({});
        cases.back().name = tokens[0].value;
        cases.back().line = line;
      } else {
        if (cases.empty()) Fail(line, word + " before the first case");
        ReadHeader(cases.back(), word, tokens, line);
      }
    }
  } catch (const std::exception& e) {
    error = path + ": " + e.what();
    return {};
  }
  return cases;
}

std::vector<TToken> ReadTokens(const std::string& text, std::size_t first, int line) {
  return Tokens(text, first, line);
}

std::string Escaped(const std::string& bytes) {
  std::string out = "\"";
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (b < 0x20 || b >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      out += hex;
    } else {
      out += c;
    }
  }
  return out + "\"";
}
