#pragma once
// The formula evaluator component: a formula text and a list of variable
// names, parsed whenever either is set, evaluated for given values.
//
// A formula with a syntax error leaves the component without a program;
// Calculate then fails. Evaluation errors (division by zero, invalid
// operation, overflow, a literal out of range, a variable without a value)
// leave Calculate as Exceptions. Every public entry runs under the standard
// floating-point settings and gives the caller's back on the way out.
// CalculateMany evaluates many rows of values under one such guard, which
// for a short formula costs more than the formula itself.

#include <span>
#include <string>
#include <vector>

#include "calc/CalcProgram.h"
#include "runtime/Component.h"

class TCalcExpress : public TComponent {
public:
  explicit TCalcExpress(TComponent* owner = nullptr);
  ~TCalcExpress() override;

  const std::string& Formula() const;
  void SetFormula(const std::string& value);
  std::vector<std::string>& Variables();                 // the component's own list object
  void SetVariables(const std::vector<std::string>& names);
  long double Calculate(std::span<const long double> values);

  // Evaluates the parsed formula for results.size() rows of values, laid out row after row,
  // Variables().size() values per row, under one floating-point guard.
  // A failing row leaves a NaN in results and its index with the message
  // Calculate would raise for it in errors (cleared first); the other rows
  // go on. A values span of another size is an Exception.
  void CalculateMany(std::span<const long double> values, std::span<long double> results, TRowErrors& errors);

private:
  void Parse();

  std::string FFormula;                  // lower-cased
  std::vector<std::string> FVariables;
  TCalcProgram FProgram;                 // empty after a failed parse
  bool FHasProgram = false;
};
