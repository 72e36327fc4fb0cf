#pragma once
// Reads the settings-reader cases (settings-cases.txt; its format is
// described at its top), shared by the native test and the Windows program
// that asks the system's own reader, so that the two cannot drift apart.

#include <string>
#include <vector>

struct TSettingsRead {
  std::string section, key, def, expected;
  int line = 0;
};

struct TSettingsCase {
  std::string name;
  std::string content;  // the settings file, byte for byte
  std::vector<TSettingsRead> reads;
};

// The cases of the file; on a format error an empty list and the error text.
std::vector<TSettingsCase> ReadSettingsCases(const std::string& path, std::string& error);
