#pragma once
// Printing of the simplified tree with as few brackets as its reading needs:
//
//   sum        L+R       no brackets
//   difference L-R       right bracketed when a sum, difference or negation
//   product    L*R       either bracketed when a sum, difference or negation
//   quotient   L/R       left as for a product; right also when a product or quotient
//   power      L^R       left bracketed unless a number or identifier
//   negation   (-L)      L bracketed unless a number, identifier or function
//   function   name(L)
//   number     its text, bracketed when its value is below 0
//
// No spaces are written. The walk uses an explicit stack, not recursion.

#include <cstdint>
#include <string>
#include <vector>

#include "diff/DiffBuffer.h"
#include "diff/DiffStack.h"
#include "diff/DiffTree.h"

class TShortPrinter {
public:
  // Appends the text of the tree at root to out.
  void Print(TNodeTable& table, int root, std::string& out);

private:
  struct TFrame {
    std::int32_t Node;
    std::uint8_t Stage;  // 0: before the left operand, 1: between, 2: after
    bool LeftBracketed, RightBracketed;
  };

  void Leaf(int node);
  void Operand(int node, bool bracketed);

  TNodeTable* FTable = nullptr;
  TTextBuffer* FOut = nullptr;  // during Print
  TSmallStack<TFrame, 64> FStack;
};
