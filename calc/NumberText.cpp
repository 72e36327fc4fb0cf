#include "calc/NumberText.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "runtime/Exception.h"
#include "runtime/FloatEnv.h"
#include "runtime/Regional.h"

namespace {

char gSeparator = RegionalDecimalSeparator();

// Powers of ten that the double-extended format holds exactly (5^27 < 2^64).
constexpr int kExactPow10 = 27;
const long double* Pow10Table() {
  static const auto table = [] {
    struct { long double v[kExactPow10 + 1]; } t{};
    long double p = 1;
    for (int i = 0; i <= kExactPow10; ++i, p *= 10) t.v[i] = p;
    return t;
  }();
  return table.v;
}

[[noreturn]] void ConvertError(std::string_view text) {
  std::string message = "'";
  message.append(text);
  message += "' ist kein g\xFCltiger Gleitkommawert";
  throw EConvertError(message);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// ---- text to number ----------------------------------------------------
//
// number   = blanks [sign] mantissa [exponent] blanks
// mantissa = digits [sep [digits]] | sep digits      (at least one digit)
// exponent = ("e" | "E") [sign] digits

struct TScanned {
  bool negative = false;
  std::uint64_t digits = 0;  // up to 19 significant digits
  int significant = 0;       // significant digits seen (all of them)
  int scale = 0;             // value = digits * 10^scale, while significant <= 19
  int exponent = 0;
};

bool Scan(std::string_view s, TScanned& n) {
  const char sep = gSeparator;
  std::size_t i = 0, len = s.size();
  while (i < len && s[i] == ' ') ++i;
  if (i < len && (s[i] == '+' || s[i] == '-')) n.negative = s[i++] == '-';
  int mantissaDigits = 0;
  auto takeDigit = [&](char c, bool fraction) {
    ++mantissaDigits;
    if (n.significant == 0 && c == '0') {  // leading zeros carry no digits
      if (fraction) --n.scale;
      return;
    }
    if (n.significant < 19) {
      n.digits = n.digits * 10 + static_cast<unsigned>(c - '0');
      if (fraction) --n.scale;
    } else if (!fraction) {
      ++n.scale;
    }
    ++n.significant;
  };
  while (i < len && IsDigit(s[i])) takeDigit(s[i++], false);
  if (i < len && s[i] == sep) {
    ++i;
    while (i < len && IsDigit(s[i])) takeDigit(s[i++], true);
  }
  if (mantissaDigits == 0) return false;
  if (i < len && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool negExp = false;
    if (i < len && (s[i] == '+' || s[i] == '-')) negExp = s[i++] == '-';
    if (i >= len || !IsDigit(s[i])) return false;
    // A positive exponent is read only until it reaches 500: a further digit
    // fails the text whatever the mantissa (0e5000 too). A negative one can
    // only make the value smaller, down to 0, so all its digits are read.
    int e = 0;
    while (i < len && IsDigit(s[i])) {
      if (e >= 500 && !negExp) return false;
      if (e < 100000) e = e * 10 + (s[i] - '0');
      ++i;
    }
    n.exponent = negExp ? -e : e;
  }
  while (i < len && s[i] == ' ') ++i;
  return i == len;
}

// The exact general path: the C library's correctly rounded reading.
long double ConvertSlow(std::string_view s) {
  std::string c(s);
  for (char& ch : c)
    if (ch == gSeparator) ch = '.';
  return ParseDecimalC(c.c_str());
}

// ---- number to text ----------------------------------------------------

struct TDigits {
  char d[24];
  int n = 0;  // significant digits, trailing zeros dropped
  int e = 0;  // value = 0.d1...dn * 10^e
};

void TrimZeros(TDigits& t) {
  while (t.n > 0 && t.d[t.n - 1] == '0') --t.n;
}

// Exact through the C library.
void DigitsSlow(long double a, TDigits& t) {
  char buf[64];
  FormatScientific15(a, buf, sizeof buf);  // d.ddddddddddddddde±x
  t.n = 0;
  for (const char* p = buf; *p && *p != 'e'; ++p)
    if (IsDigit(*p)) t.d[t.n++] = *p;
  const char* ep = std::strchr(buf, 'e');
  t.e = (ep ? std::atoi(ep + 1) : 0) + 1;
  TrimZeros(t);
}

// Floor and conversion of 0 <= a < 2^63 without std::floor and the integer
// cast, which switch the rounding mode (a stall of the floating-point unit
// each time). Adding 2^63 rounds to a whole number under the round to
// nearest that the guard sets.
inline long double FloorSmall(long double a) {
  const long double r = (a + 0x1p63L) - 0x1p63L;
  return r > a ? r - 1 : r;
}
inline std::uint64_t WholeToUnsigned(long double whole) { return static_cast<std::uint64_t>(std::llrint(whole)); }

void UnsignedDigits(std::uint64_t v, TDigits& t) {
  char tmp[24];
  int k = 0;
  do {
    tmp[k++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v);
  t.n = k;
  t.e = k;
  for (int i = 0; i < k; ++i) t.d[i] = tmp[k - 1 - i];
  TrimZeros(t);
}

// Scales a into [1e14, 1e15) with one rounding and rounds to an integer.
// The scaled value is within 2^-14 of the exact one, so unless it lies close
// to a half the rounded digits are those of the exact path.
bool DigitsFast(long double a, TDigits& t) {
  int exp2;
  std::frexp(a, &exp2);
  int k = 14 - static_cast<int>(std::floor((exp2 - 1) * 0.30102999566398120));
  const long double* p10 = Pow10Table();
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (k > kExactPow10 || k < -kExactPow10) return false;
    const long double y = k >= 0 ? a * p10[k] : a / p10[-k];
    if (y < 1e14L) { ++k; continue; }
    if (y >= 1e15L) { --k; continue; }
    const long double fl = FloorSmall(y);
    const long double frac = y - fl;
    if (std::fabs(frac - 0.5L) < 1e-3L) return false;
    std::uint64_t r = WholeToUnsigned(fl) + (frac > 0.5L ? 1 : 0);
    UnsignedDigits(r, t);      // 15 digits, or "1" when r reached 1e15
    t.e = (r >= 1000000000000000ULL ? 16 : 15) - k;
    return true;
  }
  return false;
}

void AppendDigits(std::string& out, const TDigits& t) {
  const char sep = gSeparator;
  const int n = t.n, e = t.e;
  if (e > 15 || e < -3) {
    out += t.d[0];
    if (n > 1) {
      out += sep;
      out.append(t.d + 1, n - 1);
    }
    out += 'E';
    int x = e - 1;
    if (x < 0) {
      out += '-';
      x = -x;
    }
    char tmp[8];
    int k = 0;
    do {
      tmp[k++] = static_cast<char>('0' + x % 10);
      x /= 10;
    } while (x);
    while (k) out += tmp[--k];
  } else if (e <= 0) {
    out += '0';
    out += sep;
    out.append(static_cast<std::size_t>(-e), '0');
    out.append(t.d, n);
  } else if (n <= e) {
    out.append(t.d, n);
    out.append(static_cast<std::size_t>(e - n), '0');
  } else {
    out.append(t.d, e);
    out += sep;
    out.append(t.d + e, n - e);
  }
}

}  // namespace

char DecimalSeparator() { return gSeparator; }
void SetDecimalSeparator(char sep) { gSeparator = sep; }

long double TextToNumberUnguarded(std::string_view text) {
  TScanned n;
  if (!Scan(text, n)) ConvertError(text);
  long double v;
  const int scale = n.scale + n.exponent;
  if (n.digits == 0) {
    v = 0;
  } else if (n.significant <= 19 && scale >= -kExactPow10 && scale <= kExactPow10) {
    // Both operands are exact, so the one rounding is the correct one.
    const long double m = static_cast<long double>(n.digits);
    v = scale >= 0 ? m * Pow10Table()[scale] : m / Pow10Table()[-scale];
  } else {
    v = std::fabs(ConvertSlow(text));
    if (std::isinf(v)) ConvertError(text);
  }
  return n.negative ? -v : v;
}

long double TextToNumber(const std::string& text) {
  TFloatEnvGuard guard;
  return TextToNumberUnguarded(text);
}

void AppendNumberText(std::string& out, long double value) {
  if (std::isnan(value)) {
    out += "NAN";
    return;
  }
  if (value == 0) {  // -0 as well: no negative value
    out += '0';
    return;
  }
  if (value < 0) out += '-';
  if (std::isinf(value)) {
    out += "INF";
    return;
  }
  const long double a = std::fabs(value);
  TDigits t;
  if (a < 1e15L && a == FloorSmall(a))
    UnsignedDigits(WholeToUnsigned(a), t);
  else if (!DigitsFast(a, t))
    DigitsSlow(a, t);
  AppendDigits(out, t);
}

std::string NumberToText(long double value) {
  TFloatEnvGuard guard;
  std::string out;
  AppendNumberText(out, value);
  return out;
}
