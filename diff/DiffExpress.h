#pragma once
// The symbolic differentiator component.
//
// Differentiate reads the formula into the node table, writes its
// derivative as formula text, reads that text back into the same table,
// simplifies the second tree in place and prints it with sparse brackets.
// The table holds 5000 nodes for both trees together; a formula whose
// trees need more fails with "Error in formula.".

#include <string>

#include "diff/DiffPrint.h"
#include "diff/DiffReader.h"
#include "diff/DiffSimplify.h"
#include "diff/DiffText.h"
#include "diff/DiffTree.h"
#include "runtime/Component.h"

class TDiffExpress : public TComponent {
public:
  explicit TDiffExpress(TComponent* owner = nullptr);
  ~TDiffExpress() override;

  const std::string& Formula() const;
  void SetFormula(const std::string& value);
  void Differentiate(const std::string& variable, std::string& result);   // throws Exception
  // The per-call buffers keep their capacity from call to call; this gives
  // back those that grew beyond bytes.
  void LimitBuffers(std::size_t bytes);

private:
  [[noreturn]] void RaiseError(const char* message);

  TNodeTable FNodes;
  std::string FFormula;
  std::string FVariable;
  int FFormulaRoot = 0;
  int FDerivRoot = 0;
  // Per call, kept only for their capacity.
  std::string FText;    // the derivative text
  std::string FFolded;  // texts of folded constants
  std::string FOut;     // the printed result
  TDiffReader FReader;
  TDerivWriter FWriter;
  TSimplifier FSimplifier;
  TShortPrinter FPrinter;
};
