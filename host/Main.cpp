// zxhost: loads a plug-in file the way the Zorvex host does and runs its
// actions from the command line.

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "host/Check.h"
#include "host/Console.h"
#include "host/Cp1252.h"
#include "host/FormulaLines.h"
#include "host/PlugInLoader.h"
#include "host/Table.h"
#include "host/ZxHost.h"

namespace {

constexpr int kFailed = 1;  // the action set "[LastError]"
constexpr int kUsage = 2;
constexpr int kNoPlugIn = 3;

const char* const kUsageText =
    "usage: zxhost [--plugin PATH] COMMAND [ARGS...]\n"
    "\n"
    "  info                            the plug-in's name, author, hint, groups and actions\n"
    "  list [FORM]                     the command list (FORM LISP: the LISP form)\n"
    "  calc FORMULA [RESULTVAR]        run vktCalcExpress (result variable: result)\n"
    "  diff FORMULA VARIABLE [RESULTVAR]  run vktDiffExpress\n"
    "  run ACTION-NAME PARAM...        run a registered action by name\n"
    "  exec NUMBER-TEXT ARGS...        run a command through vktQuantaroExec\n"
    "  check FORMULA [VARIABLE]        whether the calc action (the diff action, with a\n"
    "                                  variable) reads the formula; if not, where and why;\n"
    "                                  if so, what it stores (status 0 when read, 1 when not)\n"
    "  table FORMULA VARIABLE FROM TO [STEPS] [--svg FILE]\n"
    "                                  the formula and its derivative (from the diff\n"
    "                                  action) at STEPS+1 points (default 20 steps),\n"
    "                                  --svg: also a plot of both into FILE\n"
    "  edit ACTION-NUMBER PARAM...     the action's editor dialog (Windows), then the parameters\n"
    "  about                           the plug-in's About box (Windows)\n"
    "\n"
    "With no command, formulas are read a line each, calc by default,\n"
    "\"d/dx FORMULA\" for the derivative by x: with a prompt, line editing and\n"
    "history on a terminal, else from standard input (a pipe or a file) without\n"
    "them, skipping empty lines and lines starting with \"#\", one line of output\n"
    "per formula. The variables an action sets are shown after it, and under a\n"
    "\"[LastError]\" what check says; a set \"[LastError]\" makes the exit status 1.\n";

void PrintUsage(std::ostream& out) {
  out << kUsageText << "\nWithout --plugin the plug-in file is looked for at:\n";
  for (const std::string& path : PlugInSearchPaths()) out << "  " << path << "\n";
}

int Usage(const std::string& problem) {
  std::cerr << "zxhost: " << problem << "\n";
  PrintUsage(std::cerr);
  return kUsage;
}

// Runs one action and shows what it set.
int Report(TZxHost& host, bool result, std::ostream& out) {
  (void)result;
  PrintVariablesSet(host, out);
  const int status = host.ErrorSet() ? kFailed : 0;
  host.ClearLog();
  return status;
}

int Calc(TZxHost& host, const std::string& formula, const std::string& result) {
  return Report(host, host.ExecAction(1, {Utf8ToCp1252(formula), Utf8ToCp1252(result)}), std::cout);
}

int Diff(TZxHost& host, const std::string& formula, const std::string& variable, const std::string& result) {
  return Report(host, host.ExecAction(2, {Utf8ToCp1252(formula), Utf8ToCp1252(variable), Utf8ToCp1252(result)}),
                std::cout);
}

int Run(TZxHost& host, const std::vector<std::string>& args) {
  const TRegisteredEntry* action = host.FindAction(Utf8ToCp1252(args[0]));
  if (!action) return Usage("no action named " + args[0]);
  if (args.size() - 1 != action->count)
    return Usage(args[0] + " takes " + std::to_string(action->count) + " parameters");
  std::vector<std::optional<std::string>> params;
  for (std::size_t i = 1; i < args.size(); ++i) params.emplace_back(Utf8ToCp1252(args[i]));
  return Report(host, host.ExecAction(action->number, params), std::cout);
}

int Exec(TZxHost& host, const std::vector<std::string>& args) {
  if (args.size() > 4) return Usage("exec takes a number text and at most three more texts");
  std::vector<std::string> texts;
  for (std::size_t i = 1; i < args.size(); ++i) texts.push_back(Utf8ToCp1252(args[i]));
  const bool result = host.ExecCommand(Utf8ToCp1252(args[0]), texts);
  std::cout << "returned " << (result ? "true" : "false") << "\n";
  return Report(host, result, std::cout);
}

int Edit(TZxHost& host, const std::vector<std::string>& args) {
  std::int32_t action = 0;
  try {
    action = std::stoi(args[0]);
  } catch (const std::exception&) {
    return Usage("edit needs an action number");
  }
  std::vector<std::optional<std::string>> params;
  for (std::size_t i = 1; i < args.size(); ++i) params.emplace_back(Utf8ToCp1252(args[i]));
  const TZxHost::TEdited edited = host.EditAction(action, params);
  std::cout << "returned " << (edited.result ? "true" : "false") << "\n";
  for (std::size_t i = 0; i < params.size(); ++i)
    std::cout << "param " << i << " = " << (edited.texts[i] ? DisplayText(*edited.texts[i]) : "nil")
              << (edited.fresh[i] ? " (new block)" : " (same block)") << "\n";
  return 0;
}

int List(TZxHost& host, const std::string& form) {
  const auto list = host.CommandList(Utf8ToCp1252(form));
  if (!list) {
    std::cerr << "zxhost: the plug-in gives no command list\n";
    return kFailed;
  }
  std::cout << Cp1252ToUtf8(*list);
  if (list->empty() || list->back() != '\n') std::cout << "\n";
  return 0;
}

// On a terminal: a prompt before each line, with the terminal's editing
// and history; "quit" or "exit" ends, as does the end of input. The first
// line is for an author who double-clicked zxhost and meets it for the
// first time; it fits the 80 columns of a new console window.
int Interactive(TZxHost& host) {
  std::cout << "zxhost tries formulas on " << Cp1252ToUtf8(host.Name()) << ". Leave: " << QuitHint() << ".\n"
            << "A formula per line for the calc action, \"d/dx FORMULA\" for the diff action.\n";
  TLineInput input;
  while (const auto line = input.ReadLine("zx> ")) {
    if (*line == "quit" || *line == "exit") return 0;
    input.Remember(*line);
    RunFormulaLine(host, *line, std::cout);
  }
  std::cout << "\n";
  return 0;
}

int Main(std::vector<std::string> args) {
  std::string path = DefaultPlugInPath();
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    PrintUsage(std::cout);
    return 0;
  }
  if (!args.empty() && args[0] == "--plugin") {
    if (args.size() < 2) return Usage("--plugin needs a path");
    path = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }

  TPlugInLibrary library;
  std::string error;
  if (!library.Load(path, error)) {
    std::cerr << "zxhost: " << error << "\n";
    TConsoleOutput::HoldWindowOpen();
    return kNoPlugIn;
  }
  TZxHost host(library.Api());
  host.Start();

  if (args.empty() && StdinIsTerminal()) return Interactive(host);
  if (args.empty()) {
    std::ios::sync_with_stdio(false);
    return RunFormulaLines(host, std::cin, std::cout) ? 0 : kFailed;
  }
  const std::string command = args[0];
  args.erase(args.begin());
  const std::size_t n = args.size();
  if (command == "info" && n == 0) {
    std::cout << "plug-in " << path << "\n";
    PrintInfo(host, std::cout);
    return 0;
  }
  if (command == "list" && n <= 1) return List(host, n ? args[0] : "");
  if (command == "calc" && (n == 1 || n == 2)) return Calc(host, args[0], n == 2 ? args[1] : "result");
  if (command == "diff" && (n == 2 || n == 3)) return Diff(host, args[0], args[1], n == 3 ? args[2] : "result");
  if (command == "check" && (n == 1 || n == 2))
    return RunCheck(host, {Utf8ToCp1252(args[0]), n == 2 ? std::optional(Utf8ToCp1252(args[1])) : std::nullopt},
                    std::cout);
  if (command == "run" && n >= 1) return Run(host, args);
  if (command == "exec" && n >= 1) return Exec(host, args);
  if (command == "table") {
    std::string problem;
    const auto options = ReadTableArguments(args, problem);
    if (!options) return Usage(problem);
    return RunTable(host, *options, std::cout, std::cerr);
  }
  if (command == "edit" && n >= 1) return Edit(host, args);
  if (command == "about" && n == 0) return host.About(), 0;
  return Usage("cannot read the command " + command + (n ? " with " + std::to_string(n) + " arguments" : ""));
}

}  // namespace

int main(int argc, char** argv) {
  const TConsoleOutput console;
  return Main(std::vector<std::string>(argv + 1, argv + argc));
}
