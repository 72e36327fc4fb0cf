#include "tests/plugin/TestEnvironment.h"

#include <cstdlib>
#include <stdexcept>

#include <stdlib.h>

namespace fs = std::filesystem;

TTempFolder::TTempFolder() {
  std::string pattern = (fs::temp_directory_path() / "vktzxp.XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  FPath = pattern;
}

TTempFolder::~TTempFolder() {
  std::error_code ignored;
  fs::remove_all(FPath, ignored);
}

void TEnvironment::Set(const char* name, const std::string& value) {
  const char* old = std::getenv(name);
  FSaved.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
  setenv(name, value.c_str(), 1);
}

TEnvironment::~TEnvironment() {
  for (auto it = FSaved.rbegin(); it != FSaved.rend(); ++it) {
    if (it->second)
      setenv(it->first.c_str(), it->second->c_str(), 1);
    else
      unsetenv(it->first.c_str());
  }
}

std::optional<fs::path> CommaLocaleFolder() {
  static TTempFolder folder;
  static const bool built = [] {
    const std::string command = "localedef -i de_DE -f UTF-8 '" + (folder.Path() / "de_DE.UTF-8").string() +
                                "' >/dev/null 2>&1";
    (void)std::system(command.c_str());
    return fs::exists(folder.Path() / "de_DE.UTF-8" / "LC_NUMERIC");
  }();
  if (!built) return std::nullopt;
  return folder.Path();
}
