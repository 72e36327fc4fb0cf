// Runs cases.txt against copies of the built plug-in file, each loaded with
// dlopen from a folder of its own (with its settings file, when the case has
// one), through the reference host.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "host/PlugInLoader.h"
#include "tests/plugin/CaseFile.h"
#include "tests/plugin/CaseRunner.h"

namespace fs = std::filesystem;

namespace {

std::vector<TCase> LoadCases(std::string& error) {
  static std::string readError;
  static const std::vector<TCase> cases = ReadCaseFile(VKT_CASES_FILE, readError);
  error = readError;
  return cases;
}

// A fresh folder under the temporary folder, removed with the object.
class TTempFolder {
public:
  TTempFolder() {
    std::string pattern = (fs::temp_directory_path() / "vktzxp.XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    FPath = pattern;
  }
  ~TTempFolder() {
    std::error_code ignored;
    fs::remove_all(FPath, ignored);
  }
  const fs::path& Path() const { return FPath; }

private:
  fs::path FPath;
};

// A locale whose decimal separator is ",", built once per run; nothing when
// the system cannot build one.
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

// Sets environment variables for a scope and puts the old values back.
class TEnvironment {
public:
  void Set(const char* name, const std::string& value) {
    const char* old = std::getenv(name);
    FSaved.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
    setenv(name, value.c_str(), 1);
  }
  ~TEnvironment() {
    for (auto it = FSaved.rbegin(); it != FSaved.rend(); ++it) {
      if (it->second)
        setenv(it->first.c_str(), it->second->c_str(), 1);
      else
        unsetenv(it->first.c_str());
    }
  }

private:
  std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

class PlugInCase : public testing::TestWithParam<TCase> {};

TEST_P(PlugInCase, Holds) {
  const TCase& c = GetParam();
  TTempFolder temp;
  fs::path folder = temp.Path();
  if (c.deepFolder) {
    for (char letter : std::string("abcd")) folder /= std::string(80, letter);
    fs::create_directories(folder);
  }
  const fs::path plugin = folder / "vktQuantaro.zxp";
  fs::copy_file(VKT_PLUGIN_FILE, plugin);
  if (c.hasIni) {
    std::ofstream ini(folder / "vktQuantaro.ini", std::ios::binary);
    for (const std::string& line : c.ini) ini << line << "\r\n";
  }

  TPlugInLibrary library;
  std::string error;
  {
    // The plug-in reads the regional separator when it is loaded.
    TEnvironment env;
    if (c.separator && c.separator != '.') {
      const auto locales = CommaLocaleFolder();
      if (c.separator != ',' || !locales) GTEST_SKIP() << "no locale with the separator " << c.separator;
      env.Set("LOCPATH", locales->string());
      env.Set("LC_ALL", "de_DE.UTF-8");
    } else if (c.separator == '.') {
      env.Set("LC_ALL", "C");
    }
    ASSERT_TRUE(library.Load(plugin.string(), error)) << error;
  }
  for (const std::string& failure : RunCase(c, library.Api(), plugin.string())) ADD_FAILURE() << failure;
}

std::vector<TCase> AllCases() {
  std::string error;
  auto cases = LoadCases(error);
  if (!error.empty()) {
    TCase broken;
    broken.name = "case_file_unreadable";
    return {broken};
  }
  return cases;
}

std::string CaseName(const testing::TestParamInfo<TCase>& info) {
  std::string name;
  for (char ch : info.param.name) name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, PlugInCase, testing::ValuesIn(AllCases()), CaseName);

TEST(PlugInCaseFile, Reads) {
  std::string error;
  const auto cases = LoadCases(error);
  EXPECT_EQ(error, "");
  EXPECT_FALSE(cases.empty());
}

}  // namespace
