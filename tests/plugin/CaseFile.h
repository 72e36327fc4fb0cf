#pragma once
// Reads the black-box case file (cases.txt; its format is described at its
// top). Portable, so that every test runner reads the same cases.

#include <ostream>
#include <string>
#include <vector>

struct TToken {
  enum TKind { Word, Text, Nil } kind = Word;
  std::string value;  // the bytes of a Text, the letters of a Word
};

struct TLine {  // a step ("> CALL ARGS") or an expectation ("= WHAT ARGS")
  std::string name;
  std::vector<TToken> args;
  int line = 0;
};

struct TStep {
  TLine call;
  std::vector<TLine> expects;
};

struct TCase {
  std::string name;
  int line = 0;
  bool hasIni = false;
  std::vector<std::string> ini;  // lines of the settings file beside the copy
  char separator = 0;            // the regional decimal separator; 0: as the system has it
  bool deepFolder = false;       // a folder path longer than 300 characters
  std::vector<TStep> steps;
};

// The cases of the file; on a format error an empty list and the error text.
std::vector<TCase> ReadCaseFile(const std::string& path, std::string& error);

// The words and texts of one line from position first on, as the case file
// writes them; throws std::runtime_error naming the line on a format error.
std::vector<TToken> ReadTokens(const std::string& text, std::size_t first, int line);

// A text for messages: printable ASCII as is, other bytes as escapes.
std::string Escaped(const std::string& bytes);

// For test frameworks that print parameters: the case's name.
inline void PrintTo(const TCase& c, std::ostream* out) { *out << c.name; }
