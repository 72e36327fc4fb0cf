#pragma once
// The symbolic differentiator component.

#include <string>

#include "runtime/Component.h"

class TDiffExpress : public TComponent {
public:
  explicit TDiffExpress(TComponent* owner = nullptr);
  ~TDiffExpress() override;

  const std::string& Formula() const;
  void SetFormula(const std::string& value);
  void Differentiate(const std::string& variable, std::string& result);   // throws Exception

private:
  std::string FFormula;
};
