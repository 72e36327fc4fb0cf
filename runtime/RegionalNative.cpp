#include "runtime/Regional.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdio>
#include <cstdlib>

// The native build: the C library's locales.

namespace {
// A "C" locale of our own, so that the process locale never changes how
// numbers are read.
locale_t CLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}
}  // namespace

char RegionalDecimalSeparator() {
  // "" resolves LC_ALL, then LC_NUMERIC, then LANG, as the C library does.
  locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return '.';
  const char* radix = nl_langinfo_l(RADIXCHAR, user);
  const char sep = (radix && radix[0] && !radix[1]) ? radix[0] : '.';
  freelocale(user);
  return sep;
}

long double ParseDecimalC(const char* text) { return strtold_l(text, nullptr, CLocale()); }

int FormatScientific15(long double value, char* buffer, int size) {
  // glibc prints with the exact binary value, correctly rounded; the radix
  // character is the only locale-dependent part, and we only print one digit
  // before it, so it is normalised below.
  const int n = std::snprintf(buffer, size, "%.14Le", value);
  if (n > 1 && n < size && buffer[1] != '.' && buffer[1] != 'e') buffer[1] = '.';
  return n;
}
