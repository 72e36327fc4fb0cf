#pragma once
// The node table of the differentiator: one fixed array of 5000 entries,
// embedded in the component and shared by the formula's tree and its
// derivative's. No node is allocated on its own.
//
// A node does not own its text. Number, identifier and function texts are
// views into one of three buffers (the formula, the texts the derivative's
// templates bring, the texts of folded constants), kept as offsets so that a buffer may grow
// while the tree is in use. A number's value is converted from its text
// when a rule needs it; a value that is costly to convert, and the exact
// value of a folded whole number, is kept in a side table that the node
// refers to.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calc/NumberText.h"
#include "formula/Functions.h"

// Node kinds. A function's kind is FunctionKind(f) of formula/Functions.h.
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
  dkPower = 31,
};
static_assert(kFirstFunctionKind > dkNeg && kLastFunctionKind < dkPower, "function kinds overlap the others");

inline bool IsBinaryKind(std::int32_t kind) {
  return (kind >= dkSum && kind <= dkQuot) || kind == dkPower;
}
inline bool IsLeafKind(std::int32_t kind) { return kind == dkNumber || kind == dkIdent; }

// Where a node's text lives.
enum TTextSource : std::uint8_t { tsFormula = 0, tsDeriv = 1, tsFolded = 2 };

// 16 bytes, so that a full table stays small: indices fit 16 bits (the
// table holds 5000), kinds 8 bits.
struct TTree {
  std::uint32_t Off;   // text: offset and length in buffer Src
  std::uint32_t Len;
  std::int16_t Left;   // first or only operand, 0 = none
  std::int16_t Right;  // second operand, 0 = none
  std::uint8_t Kind;
  std::uint8_t Src;
  std::uint16_t Slot;  // number: 1 + index of its kept value, 0 = none kept
                       // (at most one per node and fold: well below 65536)
};
static_assert(sizeof(TTree) == 16);

// An optionally negative integer of up to 18 digits: its magnitude, which
// fits 63 bits, and its sign.
inline bool ShortInteger(std::string_view text, std::int64_t& magnitude, bool& negative) {
  negative = !text.empty() && text[0] == '-';
  const std::size_t n = text.size() - negative;
  if (n == 0 || n > 18) return false;
  std::uint64_t v = 0;
  for (std::size_t i = negative; i < text.size(); ++i) {
    const unsigned d = static_cast<unsigned char>(text[i]) - static_cast<unsigned>('0');
    if (d > 9) return false;
    v = v * 10 + d;
  }
  magnitude = static_cast<std::int64_t>(v);
  return true;
}

// The value of a short integer, exact in the 64-bit significand and so the
// same as the general conversion gives.
inline bool ShortIntegerValue(std::string_view text, long double& value) {
  std::int64_t magnitude;
  bool negative;
  if (!ShortInteger(text, magnitude, negative)) return false;
  // Through the signed type: one load instruction on the x87 unit.
  value = negative ? -static_cast<long double>(magnitude) : static_cast<long double>(magnitude);
  return true;
}

// The digits of whole, written to out (at least 17 characters); their
// length.
inline int WholeIntegerText(long long whole, char* out) {
  char digits[16];
  int n = 0;
  unsigned long long rest =
      whole < 0 ? 0ULL - static_cast<unsigned long long>(whole) : static_cast<unsigned long long>(whole);
  do {
    digits[n++] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  } while (rest);
  int len = 0;
  if (whole < 0) out[len++] = '-';
  while (n) out[len++] = digits[--n];
  return len;
}

// Whether NumberToText writes a whole number digit for digit: below 10^15
// in magnitude.
inline bool IsPlainWhole(long long whole) { return whole > -1000000000000000 && whole < 1000000000000000; }

// The number text of a whole value below 10^15 in magnitude, written to
// out; its length, or 0 for any other value. The value goes through a
// double, exact for a whole one in range, because SSE truncates in one step
// where the 80-bit conversion writes the x87 control word twice.
inline int WholeNumberText(long double value, char* out) {
  if (!(value > -1e15L && value < 1e15L)) return 0;
  const auto whole = static_cast<long long>(static_cast<double>(value));
  if (static_cast<long double>(whole) != value) return 0;
  return WholeIntegerText(whole, out);
}

// Appends value as number text (NumberToText's format).
inline void AppendValueText(std::string& out, long double value) {
  char text[17];
  if (const int len = WholeNumberText(value, text))
    out.append(text, static_cast<std::size_t>(len));
  else
    AppendNumberText(out, value);
}

class TNodeTable {
public:
  static constexpr int kCapacity = 5000;

  TNodeTable();

  void Clear() {
    FCount = 0;
    FValues.clear();
  }
  int Count() const { return FCount; }

  // The next entry with the given kind and text, or 0 when the table is full.
  int New(std::int32_t kind, int left, int right, std::uint8_t src, std::uint32_t off, std::uint32_t len) {
    if (FCount >= kCapacity) return 0;
    const int index = ++FCount;
    FNodes[index] = TTree{off, len, static_cast<std::int16_t>(left), static_cast<std::int16_t>(right),
                          static_cast<std::uint8_t>(kind), src, 0};
    return index;
  }

  // A copy of the subtree at root, appended as one block (its nodes lie in
  // post-order, so the subtree is the run that ends at root); its root, or
  // 0 when the table cannot hold it. The copy shares the values kept for
  // its numbers: a kept value never changes (a node that folds into a new
  // value keeps it in a new entry).
  int CopySubtree(int root) {
    int first = root;
    while (FNodes[first].Left) first = FNodes[first].Left;
    const int size = root - first + 1;
    if (FCount + size > kCapacity) return 0;
    const int shift = FCount + 1 - first;
    for (int i = first; i <= root; ++i) {
      TTree node = FNodes[i];
      if (node.Left) node.Left = static_cast<std::int16_t>(node.Left + shift);
      if (node.Right) node.Right = static_cast<std::int16_t>(node.Right + shift);
      FNodes[i + shift] = node;
    }
    FCount += size;
    return root + shift;
  }

  TTree& operator[](int index) { return FNodes[index]; }
  const TTree& operator[](int index) const { return FNodes[index]; }

  // The buffers the texts refer to; each must outlive the use of its nodes.
  void SetSource(TTextSource src, const std::string* text) { FSources[src] = text; }
  std::string_view Text(const TTree& node) const {
    return std::string_view(FSources[node.Src]->data() + node.Off, node.Len);
  }
  std::string_view Text(int index) const { return Text((*this)[index]); }

  // The value of a number node (may throw the conversion error). Short
  // integers are converted directly each time, which costs less than
  // keeping them; any other text is converted once and kept. Runs under the
  // caller's floating-point guard.
  long double Value(int index) {
    const TTree& node = FNodes[index];
    if (node.Slot) return FValues[node.Slot - 1u];
    long double value;
    if (ShortIntegerValue(Text(node), value)) return value;
    return ConvertAndKeep(index);
  }
  // Records the value that the text of a number node is known to stand for.
  void SetValue(int index, long double value);

private:
  // Embedded and left uninitialised: an entry is written when it is
  // allocated, so a short formula touches only a few cache lines.
  TTree FNodes[kCapacity + 1];  // entry 0 stands for "no node"
  std::vector<long double> FValues;

  long double ConvertAndKeep(int index);
  int FCount = 0;
  const std::string* FSources[3] = {nullptr, nullptr, nullptr};
};
