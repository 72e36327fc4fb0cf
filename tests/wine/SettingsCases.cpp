// Runs the settings-reader cases (tests/plugin/settings-cases.txt) against
// the system's own GetPrivateProfileStringA: each case's file is written
// into the work folder under a name of its own (the system may keep a
// profile it has read in a cache) and every read goes through a buffer of
// 2048 bytes, as the plug-in reads its settings.
//
// Usage: settings_cases_wine CASES-FILE WORK-FOLDER

#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/plugin/CaseFile.h"
#include "tests/plugin/SettingsCaseFile.h"

namespace {

bool WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

std::string SystemRead(const TSettingsRead& read, const std::string& path) {
  char buffer[2048];
  const DWORD n = GetPrivateProfileStringA(read.section.c_str(), read.key.c_str(), read.def.c_str(), buffer,
                                           sizeof buffer, path.c_str());
  return std::string(buffer, n);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s CASES-FILE WORK-FOLDER\n", argv[0]);
    return 2;
  }
  std::string error;
  const auto cases = ReadSettingsCases(argv[1], error);
  if (cases.empty()) {
    std::printf("FAIL %s\n", error.empty() ? "no cases" : error.c_str());
    return 1;
  }
  CreateDirectoryA(argv[2], nullptr);
  int passed = 0, failed = 0;
  for (const TSettingsCase& c : cases) {
    const std::string path = std::string(argv[2]) + "\\" + c.name + ".ini";
    if (!WriteBytes(path, c.content)) {
      std::printf("FAIL %s: cannot write %s\n", c.name.c_str(), path.c_str());
      ++failed;
      continue;
    }
    for (const TSettingsRead& read : c.reads) {
      const std::string got = SystemRead(read, path);
      if (got == read.expected) {
        ++passed;
        continue;
      }
      ++failed;
      std::printf("FAIL %s (line %d): [%s] %s gives %s, the table says %s\n", c.name.c_str(), read.line,
                  read.section.c_str(), read.key.c_str(), Escaped(got).c_str(), Escaped(read.expected).c_str());
    }
    DeleteFileA(path.c_str());
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed ? 1 : 0;
}
