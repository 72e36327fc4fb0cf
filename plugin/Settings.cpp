#include "plugin/Settings.h"

#include "plugin/Platform.h"

TPlugInSettings::TPlugInSettings()
    : FPath(ChangeFileExt(PlugInFilePath(), ".ini")), FExists(FileExists(FPath)) {}

std::string TPlugInSettings::Read(const std::string& section, const std::string& key,
                                  const std::string& def) const {
  return ReadProfileString(section, key, def, FPath);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  const std::size_t dot = path.find_last_of(std::string(".") + std::string(PathSeparators()));
  if (dot == std::string::npos || path[dot] != '.') return path + ext;
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
