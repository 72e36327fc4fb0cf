#pragma once
// The node table of the differentiator: one fixed-capacity table shared by
// the formula's tree and the tree read back from its derivative text.
//
// A node does not own its text. Number, identifier and function texts are
// views into one of three buffers (the formula, the derivative text, the
// texts of folded constants), kept as offsets so that a buffer may grow
// while the tree is in use. A number's value is converted at most once and
// cached in the node.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum TDiffKind : std::int32_t {
  dkEnd = 0,
  dkOpen = 1,
  dkClose = 2,
  dkSum = 3,
  dkDiff = 4,
  dkProd = 5,
  dkQuot = 6,
  dkNumber = 7,
  dkIdent = 8,
  dkNeg = 9,
  dkCos = 10,
  dkSin = 11,
  dkTg = 12,
  dkCtg = 13,
  dkAbs = 14,
  dkSgn = 15,
  dkSqrt = 16,
  dkLn = 17,
  dkExp = 18,
  dkArcsin = 19,
  dkArccos = 20,
  dkArctg = 21,
  dkArcctg = 22,
  dkSh = 23,
  dkCh = 24,
  dkTh = 25,
  dkCth = 26,
  dkHeaviside = 27,
  dkPower = 31,
};

inline bool IsFunctionKind(std::int32_t kind) { return kind >= dkCos && kind <= dkHeaviside; }
inline bool IsBinaryKind(std::int32_t kind) {
  return (kind >= dkSum && kind <= dkQuot) || kind == dkPower;
}
inline bool IsLeafKind(std::int32_t kind) { return kind == dkNumber || kind == dkIdent; }

// Where a node's text lives.
enum TTextSource : std::uint8_t { tsFormula = 0, tsDeriv = 1, tsFolded = 2 };

struct TTree {
  std::int32_t Kind;
  std::int32_t Left;   // first or only operand, 0 = none
  std::int32_t Right;  // second operand, 0 = none
  std::uint32_t Off;   // text: offset and length in buffer Src
  std::uint32_t Len;
  std::uint8_t Src;
  bool HasValue;
  long double Value;   // valid when HasValue
};

class TNodeTable {
public:
  static constexpr int kCapacity = 5000;

  TNodeTable();

  void Clear() { FCount = 0; }
  int Count() const { return FCount; }

  // The next entry with the given kind and text, or 0 when the table is full.
  int New(std::int32_t kind, std::int32_t left, std::int32_t right, std::uint8_t src,
          std::uint32_t off, std::uint32_t len);

  TTree& operator[](int index) { return FNodes[static_cast<std::size_t>(index)]; }
  const TTree& operator[](int index) const { return FNodes[static_cast<std::size_t>(index)]; }

  // The buffers the texts refer to; each must outlive the use of its nodes.
  void SetSource(TTextSource src, const std::string* text) { FSources[src] = text; }
  std::string_view Text(const TTree& node) const {
    return std::string_view(FSources[node.Src]->data() + node.Off, node.Len);
  }
  std::string_view Text(int index) const { return Text((*this)[index]); }

  // The value of a number node, converted on first use (may throw the
  // conversion error). Runs under the caller's floating-point guard.
  long double Value(int index);

private:
  std::vector<TTree> FNodes;  // entry 0 stands for "no node"
  int FCount = 0;
  const std::string* FSources[3] = {nullptr, nullptr, nullptr};
};

// Text to number for code under the floating-point guard: short integer
// literals directly, everything else through the shared conversion.
long double LiteralValue(std::string_view text);
