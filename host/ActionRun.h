#pragma once
// What zxhost's own commands (table, check) need from the plug-in's actions:
// the text an action stores or the error it reports, and the decimal
// separator the plug-in reads and writes numbers with, so that the
// evaluator library linked into zxhost reads a formula as the action did.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/ZxHost.h"

// What an action set into its result variable (the last parameter), or the
// error it reported.
struct TActionResult {
  bool ok = false;
  std::string text;  // Windows-1252
};
TActionResult RunAction(TZxHost& host, std::int32_t action, const std::vector<std::optional<std::string>>& params);

// The separator the plug-in writes numbers with: the one in its text of 1/2.
char PlugInSeparator(TZxHost& host);

// The actions' reading of a formula: "." and "," both stand for the
// decimal separator.
std::string Normalised(std::string text, char separator);

// The evaluator's separator for a scope, put back afterwards.
class TSeparatorScope {
public:
  explicit TSeparatorScope(char separator);
  ~TSeparatorScope();
  TSeparatorScope(const TSeparatorScope&) = delete;
  TSeparatorScope& operator=(const TSeparatorScope&) = delete;

private:
  char FSaved;
};
