#include "formula/Functions.h"

#include <array>

namespace {

// The names grouped by length, so that most identifiers are told apart by
// their length alone: kByLength[n] .. kByLength[n + 1] index the names of
// length n in kSortedNames.
constexpr std::size_t kLongestName = 9;
constexpr std::size_t kNameCount = std::size(kFunctionNames);

constexpr auto kSortedNames = [] {
  std::array<TFunctionName, kNameCount> sorted{};
  std::size_t k = 0;
  for (std::size_t length = 1; length <= kLongestName; ++length)
    for (const TFunctionName& name : kFunctionNames)
      if (name.Name.size() == length) sorted[k++] = name;
  return sorted;
}();

constexpr auto kByLength = [] {
  std::array<std::uint8_t, kLongestName + 2> start{};
  for (std::size_t length = 1; length <= kLongestName + 1; ++length) {
    std::size_t k = 0;
    while (k < kNameCount && kSortedNames[k].Name.size() < length) ++k;
    start[length] = static_cast<std::uint8_t>(k);
  }
  return start;
}();

static_assert(kByLength[kLongestName + 1] == kNameCount, "a function name is longer than kLongestName");

}  // namespace

std::uint8_t FindFunctionName(std::string_view name, TFunction& function) {
  if (name.empty() || name.size() > kLongestName) return 0;
  for (std::size_t k = kByLength[name.size()]; k < kByLength[name.size() + 1]; ++k)
    if (kSortedNames[k].Name == name) {
      function = kSortedNames[k].Function;
      return kSortedNames[k].Readers;
    }
  return 0;
}
