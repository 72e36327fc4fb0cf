#pragma once
// Numbers as text, with the one regional decimal separator that every part
// of the system reads and writes.

#include <string>
#include <string_view>

// The process-wide regional separator, taken from the user's regional
// settings when the library is loaded ("." when they give none).
char DecimalSeparator();
void SetDecimalSeparator(char sep);

// Text to number: optional blanks, an optional sign, digits with an optional
// fraction, an optional exponent, optional blanks. Fails with EConvertError
// ("'%s' ist kein gültiger Gleitkommawert") for anything else or a value
// beyond the double-extended range.
long double TextToNumber(const std::string& text);

// The general number format with 15 significant digits: plain notation from
// 1E-4 up to 1E15, scientific form beyond ("1E20", "1.23456789012346E17").
std::string NumberToText(long double value);

// The same two conversions for callers that already run under the
// floating-point guard: no guard of their own and no copies.
long double TextToNumberUnguarded(std::string_view text);
void AppendNumberText(std::string& out, long double value);
