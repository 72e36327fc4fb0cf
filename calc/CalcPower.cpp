#include "calc/CalcPower.h"

long double GeneralPower(long double base, long double e) {
  if (e == 0) return 1;
  if (base == 0 && e > 0) return 0;
  if (IsInt32Exponent(e)) return IntPower(base, static_cast<std::int32_t>(e));
  return std::exp(e * std::log(base));
}
