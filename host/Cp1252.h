#pragma once
// Conversions between the plug-in's 8-bit Windows-1252 texts and the UTF-8
// of the terminal.

#include <string>
#include <string_view>

std::string Cp1252ToUtf8(std::string_view text);

// Text that is valid UTF-8 and holds only characters of Windows-1252 is
// converted; anything else is passed on byte for byte.
std::string Utf8ToCp1252(std::string_view text);

// Control characters, and the five bytes the code page leaves free, which
// zxhost never writes to the terminal as they are.
bool IsControlByte(unsigned char byte);
