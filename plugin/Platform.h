#pragma once
// The few operating-system services the plug-in needs, one function each:
// PlatformNative.cpp has the POSIX ones, win32/PlatformWin32.cpp Windows'.

#include <cstddef>
#include <string>
#include <string_view>

// The full path of the plug-in's own module file, whatever its length; in
// the native build as it was when the library was loaded.
std::string PlugInFilePath();

// True when path names an existing file (not a folder).
bool FileExists(const std::string& path);

// Reads one value from a settings file in the Windows INI format: on Windows
// through the system's private-profile reader, elsewhere with the same rules
// (plugin/ProfileText.h) from the first 4 MiB of a regular file. A value
// holds at most 2047 characters; a missing file, section or key gives def.
std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& def, const std::string& path);

// Upper-cases an 8-bit text with the system's ANSI rules (ASCII letters
// outside Windows).
std::string AnsiUpperCase(std::string text);

// The characters that end the search for a file name's extension from its
// end: the folder separators (on Windows also the drive's colon).
std::string_view PathSeparators();

// The memory of host strings: malloc natively; on Windows fixed global
// blocks (GlobalAlloc with GMEM_FIXED), as the host frees them.
void* HostBlockAlloc(std::size_t size);
void HostBlockFree(void* block);
