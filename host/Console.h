#pragma once
// The terminal an author types formulas into. zxhost's texts are UTF-8
// inside; the console unit is what turns them into what the terminal shows
// and reads typed lines back, with the line editing and history the author
// knows from that terminal. Natively that is libedit, with the history kept
// in ~/.zxhost_history; on Windows it is the console's own editing (arrow
// keys, F7) through wide-character reads and writes.

#include <memory>
#include <optional>
#include <string>

// Whether standard input is a terminal (a console window on Windows).
bool StdinIsTerminal();

// How to end the interactive loop on this terminal, for its first line.
const char* QuitHint();

// Standard output and error in the terminal's terms for the life of the
// object: on Windows, wide characters to a console window, its output code
// page to a pipe or file; natively the UTF-8 they already are.
class TConsoleOutput {
public:
  TConsoleOutput();
  ~TConsoleOutput();
  TConsoleOutput(const TConsoleOutput&) = delete;
  TConsoleOutput& operator=(const TConsoleOutput&) = delete;

  // Before zxhost ends on an error: when double-clicked, the console window
  // is zxhost's alone and closes with it, so the author is asked for Enter
  // first. Elsewhere nothing.
  static void HoldWindowOpen();

private:
  struct TState;
  std::unique_ptr<TState> FState;
};

// Typed lines, with the terminal's editing and history; only for a
// standard input that is a terminal.
class TLineInput {
public:
  TLineInput();
  ~TLineInput();
  TLineInput(const TLineInput&) = delete;
  TLineInput& operator=(const TLineInput&) = delete;

  // The next line in UTF-8 without its line end, or nothing at the end of
  // input (Ctrl+D, Ctrl+Z then Enter).
  std::optional<std::string> ReadLine(const std::string& prompt);
  // Keeps a line in the history (natively; the Windows console keeps its
  // own), so that the author can recall it, also after the next start.
  void Remember(const std::string& line);

private:
  std::string FHistoryPath;  // empty: no history file
};
