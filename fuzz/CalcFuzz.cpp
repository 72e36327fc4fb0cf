// Arbitrary bytes as a formula: parsing and evaluating must end in a value
// or an Exception, never in a crash, a sanitizer report or a hang.

#include <cstddef>
#include <cstdint>
#include <string>

#include "calc/CalcExpress.h"
#include "runtime/Exception.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TCalcExpress calc;
  calc.SetFormula(std::string(reinterpret_cast<const char*>(data), size));
  calc.SetVariables({"x", "y"});
  const long double values[] = {0.5L, 2};
  try {
    calc.Calculate(values);
  } catch (const Exception&) {
  }
  return 0;
}
