#include "calc/CalcPower.h"

long double GeneralPower(long double base, long double e) {
  if (e == 0) return 1;
  if (base == 0 && e > 0) return 0;
  if (const auto n = Int32Exponent(e)) return IntPower(base, *n);
  return std::exp(e * std::log(base));
}
