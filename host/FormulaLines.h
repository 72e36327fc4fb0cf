#pragma once
// zxhost's formula lines: a formula per line, evaluated by the calc action,
// or "d/dVAR FORMULA" for the derivative by VAR through the diff action.
// The result goes to the variable "result"; what the action set is shown,
// and under a "[LastError]" what zxhost check says about the formula.

#include <istream>
#include <ostream>
#include <string_view>

#include "host/ZxHost.h"

enum class TLineOutcome { Skipped, Done, Failed };  // Failed: "[LastError]" was set

// One line (UTF-8): empty lines and lines starting with "#" are skipped.
TLineOutcome RunFormulaLine(TZxHost& host, std::string_view line, std::ostream& out);

// Every line of in, without prompts, one line of output per formula (and
// the check's lines after a failing one); reads
// and keeps one line at a time. False when any formula set "[LastError]".
bool RunFormulaLines(TZxHost& host, std::istream& in, std::ostream& out);
