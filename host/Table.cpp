#include "host/Table.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>

#include "calc/CalcExpress.h"
#include "calc/NumberText.h"
#include "host/ActionRun.h"
#include "host/Cp1252.h"
#include "host/TablePlot.h"
#include "runtime/Exception.h"
#include "runtime/FloatEnv.h"

namespace {

constexpr int kMaxSteps = 1000000;
const char* const kScratchVariable = "zxhost table";  // the host variable the actions write to

// One column: every row's result, or its error message.
struct TColumn {
  std::vector<long double> results;
  TRowErrors errors;
  std::string Cell(std::size_t row) const {
    const std::string* message = errors.Find(row);
    return message ? Cp1252ToUtf8(*message) : NumberToText(results[row]);
  }
  TPlotCurve Curve() const {
    TPlotCurve curve;
    for (std::size_t row = 0; row < results.size(); ++row)
      curve.push_back(errors.Find(row) ? std::nullopt : std::optional<long double>(results[row]));
    return curve;
  }
};

TColumn Evaluate(const std::string& formula, const std::string& variable, const std::vector<long double>& xs) {
  TColumn column;
  column.results.resize(xs.size());
  TCalcExpress calc;
  calc.SetVariables({variable});
  calc.SetFormula(formula);
  calc.CalculateMany(xs, column.results, column.errors);
  return column;
}

// Columns left-aligned, each as wide as its widest cell, two spaces apart.
void PrintAligned(const std::vector<std::vector<std::string>>& lines, std::ostream& out) {
  std::vector<std::size_t> widths;
  auto width = [](const std::string& utf8) {  // characters, not bytes
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
  };
  for (const auto& cells : lines)
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (widths.size() <= i) widths.push_back(0);
      widths[i] = std::max(widths[i], width(cells[i]));
    }
  for (const auto& cells : lines) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      line += cells[i];
      if (i + 1 < cells.size()) line.append(widths[i] - width(cells[i]) + 2, ' ');
    }
    out << line << "\n";
  }
}

bool ReadBound(const std::string& text, char separator, long double& value) {
  try {
    value = TextToNumber(Normalised(text, separator));
    return std::isfinite(value);
  } catch (const Exception&) {
    return false;
  }
}

bool WriteFile(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
  file.close();
  return !file.fail();
}

}  // namespace

std::optional<TTableOptions> ReadTableArguments(const std::vector<std::string>& args, std::string& problem) {
  TTableOptions options;
  std::vector<std::string> plain;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--svg") {
      plain.push_back(args[i]);
    } else if (i + 1 < args.size()) {
      options.svgPath = args[++i];
    } else {
      problem = "--svg needs a file name";
      return std::nullopt;
    }
  }
  if (plain.size() != 4 && plain.size() != 5) {
    problem = "table takes FORMULA VARIABLE FROM TO [STEPS]";
    return std::nullopt;
  }
  options.formula = plain[0];
  options.variable = plain[1];
  options.from = plain[2];
  options.to = plain[3];
  if (plain.size() == 5) {
    const std::string& steps = plain[4];
    const bool digits = !steps.empty() && steps.size() <= 7 &&
                        std::all_of(steps.begin(), steps.end(), [](char c) { return c >= '0' && c <= '9'; });
    options.steps = digits ? std::stoi(steps) : 0;
    if (options.steps < 1 || options.steps > kMaxSteps) {
      problem = "STEPS must be a whole number from 1 to " + std::to_string(kMaxSteps);
      return std::nullopt;
    }
  }
  return options;
}

int RunTable(TZxHost& host, const TTableOptions& options, std::ostream& out, std::ostream& err) {
  const char separator = PlugInSeparator(host);
  const TSeparatorScope scope(separator);
  long double from = 0, to = 0;
  if (!ReadBound(options.from, separator, from) || !ReadBound(options.to, separator, to)) {
    err << "zxhost: FROM and TO must be numbers (\"" << options.from << "\", \"" << options.to << "\")\n";
    return 2;
  }
  const std::string formula = Normalised(Utf8ToCp1252(options.formula), separator);
  const std::string variable = Utf8ToCp1252(options.variable);
  const TActionResult derivative =
      RunAction(host, 2, {formula, variable, std::string(kScratchVariable)});

  std::vector<long double> xs;
  {
    const TFloatEnvGuard guard;  // the same points whatever precision the process runs at
    for (int i = 0; i <= options.steps; ++i) xs.push_back(from + (to - from) * i / options.steps);
  }
  const TColumn values = Evaluate(formula, variable, xs);
  TColumn slopes;
  if (derivative.ok) slopes = Evaluate(derivative.text, variable, xs);

  const std::string f = "f(" + options.variable + ")", df = "f'(" + options.variable + ")";
  out << f << " = " << Cp1252ToUtf8(formula) << "\n"
      << df << " = " << (derivative.ok ? "" : "none: ") << Cp1252ToUtf8(derivative.text) << "\n\n";
  std::vector<std::vector<std::string>> lines{{options.variable, f}};
  if (derivative.ok) lines[0].push_back(df);
  for (std::size_t row = 0; row < xs.size(); ++row) {
    lines.push_back({NumberToText(xs[row]), values.Cell(row)});
    if (derivative.ok) lines.back().push_back(slopes.Cell(row));
  }
  PrintAligned(lines, out);

  bool complete = derivative.ok && values.errors.Empty() && slopes.errors.Empty();
  if (!options.svgPath.empty()) {
    TPlotData plot{options.variable, f + " = " + Cp1252ToUtf8(formula),
                   derivative.ok ? df + " = " + Cp1252ToUtf8(derivative.text) : "", xs, values.Curve(),
                   derivative.ok ? slopes.Curve() : TPlotCurve{}};
    if (!WriteFile(options.svgPath, PlotSvg(plot))) {
      err << "zxhost: cannot write " << options.svgPath << "\n";
      complete = false;
    }
  }
  return complete ? 0 : 1;
}
