#pragma once
// The evaluator's power rule: a whole exponent of 32 bits is a chain of
// products, any other exponent e gives exp(e*ln(base)). A base of 0 with a
// positive exponent is 0 without taking ln 0; an exponent of 0 gives 1.

#include <cmath>
#include <cstdint>
#include <optional>

inline constexpr long double kMaxInt32 = 2147483647.0L;

// Bits of n from the lowest: multiply for a set bit, square before the next
// bit, so no squaring after the highest bit can overflow needlessly.
inline long double IntPower(long double base, std::int32_t n) {
  std::uint32_t m = n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
  long double r = 1, x = base;
  for (;;) {
    if (m & 1) r *= x;
    m >>= 1;
    if (!m) break;
    x *= x;
  }
  return n < 0 ? 1 / r : r;
}

// Power with an exponent that is no whole number of 32 bits (or is zero).
inline long double RealPower(long double base, long double e) {
  if (base == 0 && e > 0) return 0;
  return std::exp(e * std::log(base));
}

inline long double PowerOfInt(long double base, std::int32_t n) {
  if (n == 0) return 1;
  if (base == 0 && n > 0) return 0;
  // The loop's products for the small exponents written out, inline (its
  // first product 1*x is x itself).
  switch (n) {
    case 2: return base * base;
    case 3: return base * (base * base);
    case 4: {
      const long double square = base * base;
      return square * square;
    }
    case 5: {
      const long double square = base * base;
      return base * (square * square);
    }
    default: return IntPower(base, n);
  }
}

// Power with an exponent known only when evaluating.
long double GeneralPower(long double base, long double e);

// The whole exponent, when an exponent takes the chain of products. Found
// through a double and its truncating conversion, which SSE does in one
// step: converting the 80-bit value itself would write the x87 control word
// twice. Within the range a whole exponent is exact as a double, and no
// other value comes back unchanged.
inline std::optional<std::int32_t> Int32Exponent(long double e) {
  if (!(std::fabs(e) <= kMaxInt32)) return std::nullopt;
  const auto n = static_cast<std::int32_t>(static_cast<double>(e));
  if (static_cast<long double>(n) != e) return std::nullopt;
  return n;
}
