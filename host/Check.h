#pragma once
// zxhost check: whether a formula is read as an action reads it (the calc
// action without a variable, the diff action with one), and if not, where
// and why. An author whose publication stores "Error in formula" learns
// from it what the plug-in's own text does not say: a caret under the first
// character the reader cannot take, and a reason from a short fixed list.
//
// The readers are checked as their actions call them, after what the action
// does to the formula first (separator, and for the calc action the "$" and
// euro signs it removes); the caret stands under the character as the
// author typed it.

#include <optional>
#include <ostream>
#include <string>

#include "host/ZxHost.h"

struct TCheckRequest {
  std::string formula;                  // Windows-1252, as handed to the action
  std::optional<std::string> variable;  // the diff action's; none: the calc action
};

// The lines for a formula the reader refuses: the formula, then the caret
// with the action and the reason ("       ^ calc: \")\" expected"), in UTF-8;
// nothing when it is read.
std::optional<std::string> RefusalLines(const TCheckRequest& request, char separator);

// Runs the check and prints it: the refusal, or what the action stores, or
// the failure's own message when the formula is read but fails on
// evaluation or differentiation. Exit status 0 when read, 1 otherwise.
int RunCheck(TZxHost& host, const TCheckRequest& request, std::ostream& out);

// For a line whose action set "[LastError]": the refusal, or for the calc
// action the evaluation's own message behind its "Error in formula".
void ExplainFailure(TZxHost& host, const TCheckRequest& request, std::ostream& out);
