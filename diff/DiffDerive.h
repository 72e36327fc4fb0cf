#pragma once
// The derivative of a tree, built as a tree.
//
// Every rule of differentiation is a template written as formula text
// (formula/Functions.h for the functions, DiffDerive.cpp for the
// operators), with markers for the operands as written ({u}, {v}), their
// derivatives ({du}, {dv}) and an exponent less one ({n-1}). Each template
// is read once, by the differentiator's own reader, into a short program of
// node-building steps. The derivative's nodes are thus exactly those the
// reader would make of the derivative written out in full as text, made in
// the same post-order, but neither written nor read.
//
// An operand as written is a copy of its subtree: the nodes of a reading lie
// in post-order, so a subtree is one run of the table, copied as a block.
//
// The builder stops making nodes once the table is full; the derivative
// then cannot be had. The walk goes on through the places where a template
// converts an exponent literal, so that a conversion error anywhere in the
// formula is still raised first.

#include <cstdint>
#include <string>
#include <string_view>

#include "diff/DiffStack.h"
#include "diff/DiffTree.h"

class TDerivBuilder {
public:
  // Appends to table the derivative of the tree at root with respect to
  // variable and returns its root, or 0 when the table cannot hold it.
  // Number and function texts of the new nodes are kept in texts, which the
  // table must know as its tsDeriv source. Throws the conversion error for
  // an exponent literal out of range.
  int Build(TNodeTable& table, int root, std::string_view variable, char sep, std::string& texts);

  struct TStep;  // one step of a compiled template

private:
  struct TFrame {
    const TStep* Step;  // the next step of the template
    int Node;           // the node whose derivative it builds
  };

  void Derive(int node);
  void Push(int node);
  void PushNumber(std::uint32_t off, std::uint32_t len);
  void PushExponentLessOne(int exponent);

  TNodeTable* FTable = nullptr;
  std::string* FTexts = nullptr;
  const TStep* FSteps = nullptr;      // every template's steps
  const std::uint32_t* FStart = nullptr;  // by kind, where its template begins
  std::string_view FVariable;
  char FSep = '.';
  bool FFull = false;
  TSmallStack<TFrame, 32> FFrames;
  TSmallStack<int, 64> FBuilt;  // roots of the parts built, awaiting their node
};
