// The native settings reader: the shared table of settings files (the same
// table the Windows build checks against the system's own reader), and
// inputs no settings file should be, which must give the defaults or the
// text as read, promptly and within bounded memory.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "plugin/Platform.h"
#include "tests/plugin/CaseFile.h"
#include "tests/plugin/SettingsCaseFile.h"

namespace fs = std::filesystem;

namespace {

class SettingsReader : public testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vktini.XXXXXX").string();
    ASSERT_TRUE(mkdtemp(pattern.data()));
    FFolder = pattern;
  }
  void TearDown() override { fs::remove_all(FFolder); }

  fs::path Write(const std::string& name, const std::string& content) const {
    const fs::path path = FFolder / name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  fs::path FFolder;
};

TEST_F(SettingsReader, SharedTable) {
  std::string error;
  const auto cases = ReadSettingsCases(VKT_SETTINGS_CASES_FILE, error);
  ASSERT_FALSE(cases.empty()) << error;
  for (const TSettingsCase& c : cases) {
    const fs::path path = Write(c.name + ".ini", c.content);
    for (const TSettingsRead& r : c.reads)
      EXPECT_EQ(Escaped(ReadProfileString(r.section, r.key, r.def, path)), Escaped(r.expected))
          << c.name << " (line " << r.line << "): [" << r.section << "] " << r.key;
  }
}

TEST_F(SettingsReader, OnlyRegularFilesAndTheirFirstMegabytesAreRead) {
  ASSERT_EQ(mkfifo((FFolder / "fifo.ini").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", FFolder / "zero.ini");
  fs::create_directory(FFolder / "folder.ini");
  std::string binary(1 << 20, '\0');
  std::mt19937 random(1);
  for (char& c : binary) c = static_cast<char>(random());
  const std::string big = "[S]\r\nk=v\r\n" + std::string(10 << 20, 'x') + "\r\nj=w\r\n";
  const std::string longLine = "[S]\r\nlong=" + std::string(100 << 10, 'v') + "\r\nk=v\r\n";
  const std::string cut(2047, 'v');
  // Quoted values about the buffer's size (the system's reader under Wine
  // gives the same): one of exactly 2047 characters loses its last one with
  // the closing quote, a longer one is only cut.
  const std::string quoted = "[S]\r\nq=\"" + cut + "\"\r\nr=\"" + std::string(3000, 'v') + "\"\r\n";
  const struct {
    const char* name;
    std::string content;  // none: the file set up above
    const char* section;
    const char* key;
    std::string expected;
  } cases[] = {
      {"fifo.ini", {}, "S", "k", "def"},
      {"zero.ini", {}, "S", "k", "def"},
      {"folder.ini", {}, "S", "k", "def"},
      {"missing.ini", {}, "S", "k", "def"},
      {"big.ini", big, "S", "k", "v"},
      {"big.ini", big, "S", "j", "def"},  // beyond the part that is read
      {"long-line.ini", longLine, "S", "long", cut},
      {"long-line.ini", longLine, "S", "k", "v"},
      {"quoted.ini", quoted, "S", "q", cut.substr(1)},
      {"quoted.ini", quoted, "S", "r", cut},
      {"no-line-end.ini", "k=" + std::string(5 << 20, 'v'), "", "k", cut},
      {"zeros.ini", std::string(1 << 20, '\0') + "\n[S]\nk=v", "S", "k", "v"},
      {"binary.ini", binary + "\n[S]\nk=v", "S", "k", "v"},
  };
  for (const auto& c : cases) {
    const fs::path path = c.content.empty() ? FFolder / c.name : Write(c.name, c.content);
    EXPECT_EQ(ReadProfileString(c.section, c.key, "def", path), c.expected) << c.name << " " << c.key;
  }
}

}  // namespace
