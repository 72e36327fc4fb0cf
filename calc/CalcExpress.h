#pragma once
// The formula evaluator component: a formula text and a list of variable
// names, parsed whenever either is set, evaluated for given values.

#include <span>
#include <string>
#include <vector>

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
  std::string FFormula;
  std::vector<std::string> FVariables;
};
