#include "diff/DiffTree.h"

#include "calc/NumberText.h"

TNodeTable::TNodeTable() { FNodes.resize(1); }

int TNodeTable::New(std::int32_t kind, std::int32_t left, std::int32_t right, std::uint8_t src,
                    std::uint32_t off, std::uint32_t len) {
  if (FCount >= kCapacity) return 0;
  const int index = ++FCount;
  if (FNodes.size() <= static_cast<std::size_t>(index)) {
    // Grow geometrically up to the fixed capacity: a short formula touches
    // only a few cache lines, a long one reallocates a handful of times.
    std::size_t want = FNodes.size() < 32 ? 64 : FNodes.size() * 2;
    if (want > kCapacity + 1) want = kCapacity + 1;
    FNodes.resize(want);
  }
  FNodes[static_cast<std::size_t>(index)] = TTree{kind, left, right, off, len, src, false, 0};
  return index;
}

long double TNodeTable::Value(int index) {
  TTree& node = (*this)[index];
  if (!node.HasValue) {
    node.Value = LiteralValue(Text(node));
    node.HasValue = true;
  }
  return node.Value;
}

long double LiteralValue(std::string_view text) {
  // Up to 18 digits an integer is exact in the 64-bit significand, so this
  // gives the same value as the general conversion, only faster.
  std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
  const std::size_t n = text.size() - i;
  if (n >= 1 && n <= 18) {
    std::uint64_t v = 0;
    for (; i < text.size(); ++i) {
      const unsigned d = static_cast<unsigned char>(text[i]) - '0';
      if (d > 9) return TextToNumberUnguarded(text);
      v = v * 10 + d;
    }
    const long double value = static_cast<long double>(v);
    return text[0] == '-' ? -value : value;
  }
  return TextToNumberUnguarded(text);
}
