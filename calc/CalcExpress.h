#pragma once
// The formula evaluator component: a formula text and a list of variable
// names, parsed whenever either is set, evaluated for given values.
//
// A formula with a syntax error leaves the component without a program;
// Calculate then fails. Evaluation errors (division by zero, invalid
// operation, overflow, a literal out of range, a variable without a value)
// leave Calculate as Exceptions. Every public entry runs under the standard
// floating-point settings and gives the caller's back on the way out.

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

private:
  void Parse();

  std::string FFormula;                  // lower-cased
  std::vector<std::string> FVariables;
  TCalcProgram FProgram;                 // empty after a failed parse
  bool FHasProgram = false;
};
