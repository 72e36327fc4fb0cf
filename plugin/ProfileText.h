#pragma once
// The Windows INI format, read the way the system's private-profile reader
// (GetPrivateProfileStringA) reads it, so that a settings file gives the same
// texts to the native build as to the Windows one.

#include <cstddef>
#include <string>
#include <string_view>

// The longest value the plug-in reads: its buffer of 2048 bytes less the zero.
inline constexpr std::size_t kProfileValueMax = 2047;

// The value of key in the first section named section of a settings file's
// content, or def when there is none. The system's rules:
// - a file that starts with a UTF-8 or UTF-16 byte-order mark is read in that
//   encoding and handed back in Windows-1252, "?" for what it lacks; any
//   other file is Windows-1252 already;
// - CR and LF each end a line; blanks (space, tab, CR, LF, VT, FF and ^Z)
//   around lines, names and values are dropped;
// - "[name]" up to the last "]" starts a section; lines before the first
//   one form a section without a name; only the first section of a name is
//   searched, and only the first key of a name in it;
// - names compare without regard to ASCII letter case and end at a zero
//   byte, as values do; there are no comments;
// - a key line without "=" gives def; a value (or def) in matching double or
//   single quotes loses them, and is cut to kProfileValueMax characters.
std::string FindProfileValue(std::string_view content, std::string_view section, std::string_view key,
                             std::string_view def);
