// A plug-in loaded by a relative name keeps finding itself and its settings
// file after the host changes its working folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "host/PlugInLoader.h"
#include "host/ZxHost.h"

namespace fs = std::filesystem;

namespace {

class TWorkingFolder {  // puts the working folder back
public:
  TWorkingFolder() : FSaved(fs::current_path()) {}
  ~TWorkingFolder() { fs::current_path(FSaved); }

private:
  fs::path FSaved;
};

TEST(PlugInLoadPath, RelativeNameResolvedWhenLoaded) {
  std::string pattern = (fs::temp_directory_path() / "vktrel.XXXXXX").string();
  ASSERT_TRUE(mkdtemp(pattern.data()));
  const fs::path folder = pattern;
  fs::create_directory(folder / "sub");
  fs::copy_file(VKT_PLUGIN_FILE, folder / "sub" / "vktQuantaro.zxp");
  std::ofstream(folder / "sub" / "vktQuantaro.ini", std::ios::binary) << "[GroupDescription]\r\n1=Beside the copy\r\n";

  TPlugInLibrary library;
  std::string error, expected;
  {
    const TWorkingFolder keep;
    fs::current_path(folder);
    expected = (fs::current_path() / "sub" / "vktQuantaro.zxp").string();
    ASSERT_TRUE(library.Load("sub/vktQuantaro.zxp", error)) << error;
    fs::current_path("/");
    TZxHost host(library.Api());
    host.Start();
    EXPECT_EQ(host.Variables().at("[*/*vktQuantaroDllName]"), expected);
    ASSERT_FALSE(host.Entries().empty());
    EXPECT_EQ(host.Entries()[0].name, "Beside the copy");
  }
  library.Unload();
  fs::remove_all(folder);
}

}  // namespace
