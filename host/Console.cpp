#include "host/Console.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include <editline/readline.h>
#include <unistd.h>

namespace {

constexpr int kHistoryLines = 1000;

std::string HistoryPath() {
  const char* home = std::getenv("HOME");
  return home && *home ? std::string(home) + "/.zxhost_history" : std::string();
}

bool Blank(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

}  // namespace

bool StdinIsTerminal() { return isatty(STDIN_FILENO); }

const char* QuitHint() { return "\"quit\" or Ctrl+D"; }

// The terminal takes UTF-8 as it is.
struct TConsoleOutput::TState {};
TConsoleOutput::TConsoleOutput() = default;
TConsoleOutput::~TConsoleOutput() = default;
void TConsoleOutput::HoldWindowOpen() {}

TLineInput::TLineInput() : FHistoryPath(HistoryPath()) {
  using_history();
  stifle_history(kHistoryLines);
  if (!FHistoryPath.empty()) read_history(FHistoryPath.c_str());
}

TLineInput::~TLineInput() = default;

std::optional<std::string> TLineInput::ReadLine(const std::string& prompt) {
  std::cout.flush();
  const std::unique_ptr<char, decltype(&std::free)> typed(readline(prompt.c_str()), &std::free);
  if (!typed) return std::nullopt;
  return std::string(typed.get());
}

// The history file is written after every line, so that a terminal closed
// without "quit" loses nothing.
void TLineInput::Remember(const std::string& line) {
  const HIST_ENTRY* last = history_length > 0 ? history_get(history_base + history_length - 1) : nullptr;
  if (Blank(line) || (last && line == last->line)) return;
  add_history(line.c_str());
  if (!FHistoryPath.empty()) write_history(FHistoryPath.c_str());
}
