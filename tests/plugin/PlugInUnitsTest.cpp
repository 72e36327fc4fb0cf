// Tests of the plug-in's units that the exports cannot reach: a failing
// host-string allocation, the settings reader's length limit, command
// numbers at the 32-bit limits, and the host's text conversion.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "host/Cp1252.h"
#include "plugin/CommandList.h"
#include "plugin/Platform.h"
#include "plugin/PlugInUtils.h"
#include "plugin/Settings.h"

namespace {

void* FailingAlloc(std::size_t) { return nullptr; }

TEST(HostString, FailedAllocationKeepsTheOldText) {
  char* var = nullptr;
  ASSERT_TRUE(SetHostString(var, "old"));
  char* const old = var;
  const THostAllocator saved = SetHostAllocator(FailingAlloc);
  EXPECT_FALSE(SetHostString(var, "new"));
  SetHostAllocator(saved);
  EXPECT_EQ(var, old);
  EXPECT_STREQ(var, "old");
  ASSERT_TRUE(SetHostString(var, std::string_view("a\0b", 3)));
  EXPECT_EQ(std::string(var, 3), std::string("a\0b", 3));
  FreeHostString(var);
  EXPECT_EQ(var, nullptr);
  FreeHostString(var);
  EXPECT_EQ(HostStringText(nullptr), "");
}

TEST(ProfileReader, ValuesAreCutAt2047Characters) {
  const auto path = std::filesystem::temp_directory_path() / "vkt_profile_test.ini";
  {
    std::ofstream ini(path, std::ios::binary);
    ini << "[S]\r\nlong=" << std::string(3000, 'v') << "\r\nshort=\"" << std::string(2047, 'w') << "\"\r\n";
  }
  EXPECT_EQ(ReadProfileString("S", "long", "", path.string()), std::string(2047, 'v'));
  // The closing quote is copied with the value and then dropped, as the
  // system's reader does: a quoted value of exactly 2047 characters loses one.
  EXPECT_EQ(ReadProfileString("s", "SHORT", "", path.string()), std::string(2046, 'w'));
  EXPECT_EQ(ReadProfileString("S", "none", "default", path.string()), "default");
  std::filesystem::remove(path);
  EXPECT_EQ(ReadProfileString("S", "long", "default", path.string()), "default");
}

TEST(SettingsPath, ExtensionOfTheFileNameOnly) {
  EXPECT_EQ(ChangeFileExt("/p/vktQuantaro.zxp", ".ini"), "/p/vktQuantaro.ini");
  EXPECT_EQ(ChangeFileExt("/p/a.b/vktQuantaro", ".ini"), "/p/a.b/vktQuantaro.ini");
  EXPECT_EQ(ChangeFileExt("/p/x.tar.zxp", ".ini"), "/p/x.tar.ini");
}

TEST(CommandNumber, Limits) {
  const struct {
    const char* text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"2147483647", 2147483647},   {"2147483648", std::nullopt}, {"-2147483648", INT32_MIN},
      {"-2147483649", std::nullopt}, {"$FFFFFFFF", -1},           {"$80000000", INT32_MIN},
      {"-$1", -1},                  {"$1FFFFFFFF", std::nullopt}, {"0xfF", 255},
      {"+", std::nullopt},          {"0", 0},                     {"\t1", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseCommandNumber(c.text), c.value) << c.text;
}

TEST(Cp1252, ConvertsBothWays) {
  EXPECT_EQ(Cp1252ToUtf8("\x80 \xFC \x9F \x81"), "\xE2\x82\xAC \xC3\xBC \xC5\xB8 \xC2\x81");
  EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xAC\x31\x32 \xC3\xBC"), "\x80\x31\x32 \xFC");
  EXPECT_EQ(Utf8ToCp1252("\xFC raw"), "\xFC raw");             // not UTF-8: as is
  EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "\xE4\xB8\xAD");     // not in the code page: as is
}

}  // namespace
