#include "plugin/Settings.h"

#include "plugin/Platform.h"

TPlugInSettings::TPlugInSettings()
    : FPath(ChangeFileExt(PlugInFilePath(), ".ini")), FExists(FileExists(FPath)) {}

std::string TPlugInSettings::Read(const std::string& section, const std::string& key,
                                  const std::string& def) const {
  return ReadProfileString(section, key, def, FPath);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  // The extension is what follows the last "." after the last separator.
  const std::size_t dot = path.rfind('.'), separator = path.find_last_of(PathSeparators());
  if (dot == std::string::npos || (separator != std::string::npos && separator > dot)) return path + ext;
  return path.substr(0, dot) + ext;
}

std::string WithLineBreaks(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '|')
      out += "\r\n";
    else
      out += c;
  }
  return out;
}
