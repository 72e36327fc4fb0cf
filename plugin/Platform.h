#pragma once
// The few operating-system services the plug-in needs, one function each.

#include <string>

// The full path of the plug-in's own module file, whatever its length.
std::string PlugInFilePath();

// True when path names an existing file (not a folder).
bool FileExists(const std::string& path);

// Reads one value from a settings file in the Windows INI format, with the
// rules of the Windows private-profile reader: section and key names compare
// without regard to letter case, blanks around names and values are dropped,
// a value in matching double or single quotes loses them, the first matching
// key of the first matching section wins, and a value holds at most 2047
// characters. A missing file, section or key gives def.
std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& def, const std::string& path);

// Upper-cases an 8-bit text with the system's ANSI rules (ASCII letters
// outside Windows).
std::string AnsiUpperCase(std::string text);
