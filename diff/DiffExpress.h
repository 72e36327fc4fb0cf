#pragma once
// The symbolic differentiator component.
//
// Differentiate reads the formula into the node table, builds its
// derivative's tree in the same table, simplifies that tree in place and
// prints it with sparse brackets.
// The table holds 5000 nodes for both trees together; a formula whose
// trees need more fails with "Error in formula.".

#include <string>
#include <string_view>

#include "diff/DiffDerive.h"
#include "diff/DiffPrint.h"
#include "diff/DiffReader.h"
#include "diff/DiffSimplify.h"
#include "diff/DiffTree.h"
#include "runtime/Component.h"

class TDiffExpress : public TComponent {
public:
  explicit TDiffExpress(TComponent* owner = nullptr);
  ~TDiffExpress() override;

  const std::string& Formula() const;
  void SetFormula(const std::string& value);
  void Differentiate(const std::string& variable, std::string& result);   // throws Exception
  // The derivative of formula rather than of Formula, under the caller's
  // floating-point guard (the plug-in's action holds one for its export).
  void Differentiate(const std::string& formula, std::string_view variable, std::string& result);
  // The per-call buffers keep their capacity from call to call; this gives
  // back those that grew beyond bytes.
  void LimitBuffers(std::size_t bytes);

private:
  [[noreturn]] void RaiseError(const char* message);

  TNodeTable FNodes;
  std::string FFormula;
  // Per call, kept only for their capacity.
  std::string FText;    // number and function texts of the derivative
  std::string FFolded;  // texts of folded constants
  std::string FOut;     // the printed result
  TDiffReader FReader;
  TDerivBuilder FBuilder;
  TSimplifier FSimplifier;
  TShortPrinter FPrinter;
};
