#include "runtime/Regional.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

// The Windows build: the user's locale from the system; numbers through
// mingw's own conversions, which read and print the full long double.

char RegionalDecimalSeparator() {
  char buffer[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer) == 2)
    return buffer[0];
  return '.';
}

long double ParseDecimalC(const char* text) { return __mingw_strtold(text, nullptr); }

int FormatScientific15(long double value, char* buffer, int size) {
  return __mingw_snprintf(buffer, size, "%.14Le", value);
}
