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
#include "tests/plugin/TestEnvironment.h"

namespace fs = std::filesystem;

namespace {

std::vector<TCase> LoadCases(std::string& error) {
  static std::string readError;
  static const std::vector<TCase> cases = ReadCaseFile(VKT_CASES_FILE, readError);
  error = readError;
  return cases;
}

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
