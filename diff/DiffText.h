#pragma once
// The derivative of a tree, written as formula text.
//
// DerivText writes the derivative of a subtree by the templates of each
// node kind; FullText copies a subtree with every operand bracketed. Both
// run on one explicit stack of template positions, appending to a single
// buffer. A subtree copied once is copied again from the buffer instead of
// being walked anew.
//
// The writer knows how many nodes the reader will make of every piece it
// writes. As soon as the text would need more nodes than the table has
// left, its reading is certain to fail, so the text is no longer written:
// the walk goes on only through the places where the templates convert an
// exponent literal, so that a conversion error is still raised first, as
// it would be while writing the whole text.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "diff/DiffBuffer.h"
#include "diff/DiffStack.h"
#include "diff/DiffTree.h"

struct TTemplatePiece;

class TDerivWriter {
public:
  // Appends to out the derivative of the tree at root with respect to
  // variable. budget is the number of nodes left for the text's reading.
  // Returns the number of nodes the reading will make, or -1 when that
  // exceeds budget (out is then incomplete). Throws the conversion error
  // for an exponent literal out of range.
  int Write(TNodeTable& table, int root, std::string_view variable, char sep, int budget,
            std::string& out);

private:
  struct TFrame {
    const TTemplatePiece* Pc;  // next piece of the template
    std::int32_t Node;
    std::int32_t Start;   // FullText frames: where the copy began (-1 for DerivText)
    std::int32_t Counted; // nodes counted when the copy began
  };
  struct TCopy {
    std::uint32_t Off = 0, Len = 0;  // FullText already in the buffer
    std::int32_t Nodes = 0;          // nodes its reading makes
  };

  void Count(int nodes);
  void PushDeriv(int node);
  void PushFull(int node);
  void AppendN(int exponent);

  TNodeTable* FTable = nullptr;
  TTextBuffer* FOut = nullptr;  // during Write
  std::string FScratch;
  std::string_view FVariable;
  char FSep = '.';
  int FBudget = 0;
  int FCounted = 0;
  bool FOver = false;
  TSmallStack<TFrame, 32> FStack;
  TSmallStack<TCopy, 32> FCopies;  // by node index
};
