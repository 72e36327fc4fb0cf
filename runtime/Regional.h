#pragma once
// What the system asks of the user's regional settings, one function each:
// RegionalNative.cpp asks the C library, win32/RegionalWin32.cpp Windows.

#include <string>

// The decimal separator of the user's locale; '.' when it names none or
// one that is not a single byte.
char RegionalDecimalSeparator();

// Reads a decimal number that uses '.' as its separator, whatever the
// process locale, like strtold. The text must already be known to be valid.
long double ParseDecimalC(const char* text);

// Writes value with 15 significant digits in the form "d.ddddddddddddddde±x"
// (printf's "%.14Le"), correctly rounded. Returns the length written.
int FormatScientific15(long double value, char* buffer, int size);
