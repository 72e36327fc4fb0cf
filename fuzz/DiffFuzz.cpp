// Differentiate on arbitrary formula bytes, variable x: it must end in a
// derivative or an Exception, never a crash, a leak or a hang, and never
// leave a non-finite number in its text. The diff action's check must agree
// with the reading: a formula the check refuses is an error of the formula,
// one that gives a derivative is taken, and a place lies inside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "diff/DiffCheck.h"
#include "diff/DiffExpress.h"
#include "runtime/Exception.h"

namespace {

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Whether word stands in text on its own, not as part of a longer name.
bool HasWord(const std::string& text, const std::string& word) {
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
    const bool before = at > 0 && IsNameChar(text[at - 1]);
    const bool after = at + word.size() < text.size() && IsNameChar(text[at + word.size()]);
    if (!before && !after) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string formula(reinterpret_cast<const char*>(data), size);
  TDiffExpress diff;
  diff.SetFormula(formula);
  const TReadCheck check = CheckDiffFormula(formula, "x");
  if (check.Position > formula.size()) std::abort();
  std::string result;
  try {
    diff.Differentiate("x", result);
  } catch (const Exception& e) {
    if (check.Fault != TReadFault::None && e.Message() != "Error in formula.") std::abort();
    return 0;
  }
  if (check.Fault != TReadFault::None) std::abort();
  if (result.empty()) std::abort();
  // A name of the formula may be copied; a number never reads "INF" or "NAN".
  for (const char* word : {"INF", "NAN"})
    if (formula.find(word) == std::string::npos && HasWord(result, word)) std::abort();
  return 0;
}
