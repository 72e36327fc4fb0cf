#pragma once
// The settings file beside the plug-in: its own path with the extension
// replaced by ".ini", read only when it exists.

#include <string>

// Settings keys and their defaults.
inline constexpr const char* kDefaultHint = "Plugin for math formula for zorvex";
inline constexpr const char* kDefaultGroup1 = "CalcExpress";
inline constexpr const char* kDefaultGroup2 = "DiffExpress";
inline constexpr const char* kDefaultCalcDescription = "Resolve formula and get a return-string.";
inline constexpr const char* kDefaultDiffDescription = "Show differentiated expression.";

class TPlugInSettings {
public:
  TPlugInSettings();  // locates the file; reads nothing yet

  const std::string& Path() const { return FPath; }
  bool Exists() const { return FExists; }
  // The value of key in section, or def when the key is missing.
  std::string Read(const std::string& section, const std::string& key, const std::string& def) const;

private:
  std::string FPath;
  bool FExists;
};

// path with its extension (the part after the last "." of the file name)
// replaced by ext, or ext appended when the file name has none.
std::string ChangeFileExt(const std::string& path, const std::string& ext);

// Every "|" becomes carriage return and line feed: how the settings file
// writes line breaks in its longer texts.
std::string WithLineBreaks(const std::string& text);
