#pragma once
// Simplification of the derivative's tree, in place and bottom-up: every
// operation whose operands are all numbers becomes a number, and neutral
// operands (adding 0, multiplying by 1, ...) are dropped. Nothing is
// reordered and like terms are not collected.
//
// Folding re-reads each operand from its text, computes in the 64-bit
// significand and writes the result back as number text, so every fold is
// rounded to 15 significant digits. A fold whose result is not a finite
// number raises the matching arithmetic error; the caller holds the
// floating-point guard.

#include <cstdint>
#include <string>
#include <vector>

#include "diff/DiffStack.h"
#include "diff/DiffTree.h"

class TSimplifier {
public:
  // Simplifies the tree of the nodes first to root, which the reader laid
  // out in post-order (root last), and returns the node that now stands
  // for it. Folded texts are appended to folded, which the table must know as
  // its tsFolded source. Throws "Dividion by zero." for a divisor that is
  // the number 0 under a dividend that is not a number, the conversion
  // error, or an arithmetic error.
  int Run(TNodeTable& table, int first, int root, std::string& folded);

private:
  struct TOperand {
    bool IsNumber;
    long double Value;
    bool Is(long double x) const { return IsNumber && Value == x; }
  };

  int Apply(int node);
  TOperand Operand(int node);
  int Sum(int node, int u, int v);
  int Difference(int node, int u, int v);
  int Product(int node, int u, int v);
  int Quotient(int node, int u, int v);
  int Power(int node, int u, int v);
  int Function(int node, int u);

  bool IsNumber(int node) const { return (*FTable)[node].Kind == dkNumber; }
  bool IsNumber(int node, long double value) {
    return IsNumber(node) && FTable->Value(node) == value;
  }
  long double Value(int node) { return FTable->Value(node); }
  int Becomes(int node, long double value);

  TNodeTable* FTable = nullptr;
  std::string* FFolded = nullptr;
  TSmallStack<std::int32_t, 64> FResult;  // by node, from first on
};
