#pragma once
// zxhost table: a formula and its derivative tabulated over a range of one
// variable, optionally plotted into an SVG file.
//
// The derivative text comes from the plug-in's diff action, as for "zxhost
// diff". Both columns are evaluated by the evaluator library linked into
// zxhost (CalculateMany, all rows under one guard): the plug-in's calc action
// knows no variables, and putting each value into the formula as text would
// round it to 15 digits and change how the formula reads (x^2 at x = -1).
//
// Numbers are read and written with the plug-in's decimal separator, taken
// from what its calc action prints: the derivative text carries the plug-in's
// separator, and the table should read like "zxhost calc" output beside it.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "host/ZxHost.h"

struct TTableOptions {
  std::string formula, variable;  // UTF-8, as typed
  std::string from, to;           // number texts, "." or "," as separator
  int steps = 20;                 // rows: steps + 1
  std::string svgPath;            // empty: no plot
};

// Reads "FORMULA VARIABLE FROM TO [STEPS]" with "--svg FILE" anywhere among
// them; nothing, with the problem said, when they do not fit.
std::optional<TTableOptions> ReadTableArguments(const std::vector<std::string>& args, std::string& problem);

// Prints the table to out, problems to err. Returns 0 when every row has
// both values, 1 when a row or the derivative failed (or the plot could not
// be written), 2 when FROM or TO is no number.
int RunTable(TZxHost& host, const TTableOptions& options, std::ostream& out, std::ostream& err);
