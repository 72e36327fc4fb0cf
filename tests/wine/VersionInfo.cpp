// Reads the plug-in's version resource back the way Windows tools do and
// compares it with what the file must say.
//
// Usage: version_info_wine PLUGIN-FILE

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PLUGIN-FILE\n", argv[0]);
    return 2;
  }
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(argv[1], &ignored);
  std::vector<char> data(size ? size : 1);
  if (!size || !GetFileVersionInfoA(argv[1], 0, size, data.data())) {
    std::printf("FAIL no version information in %s\n0 passed, 1 failed\n", argv[1]);
    return 1;
  }
  int passed = 0, failed = 0;
  auto check = [&](const std::string& what, const std::string& got, const std::string& want) {
    const bool ok = got == want;
    std::printf("%-6s %s = \"%s\"%s%s%s\n", ok ? "ok" : "FAIL", what.c_str(), got.c_str(),
                ok ? "" : " (expected \"", ok ? "" : want.c_str(), ok ? "" : "\")");
    (ok ? passed : failed)++;
  };

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
    char text[64];
    std::snprintf(text, sizeof text, "%lu.%lu.%lu.%lu", fixed->dwFileVersionMS >> 16, fixed->dwFileVersionMS & 0xFFFF,
                  fixed->dwFileVersionLS >> 16, fixed->dwFileVersionLS & 0xFFFF);
    check("fixed file version", text, "1.9.0.0");
    std::snprintf(text, sizeof text, "%lu.%lu.%lu.%lu", fixed->dwProductVersionMS >> 16,
                  fixed->dwProductVersionMS & 0xFFFF, fixed->dwProductVersionLS >> 16,
                  fixed->dwProductVersionLS & 0xFFFF);
    check("fixed product version", text, "1.9.0.0");
    check("file type", fixed->dwFileType == VFT_DLL ? "dll" : "other", "dll");
  } else {
    check("fixed part", "missing", "present");
  }

  struct { WORD language, codePage; }* translation = nullptr;
  if (VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) &&
      translation && length >= 4) {
    char text[32];
    std::snprintf(text, sizeof text, "%04X %u", translation->language, translation->codePage);
    check("translation", text, "0409 1252");
  } else {
    check("translation", "missing", "0409 1252");
  }

  const char* const strings[][2] = {
      {"FileDescription", "zorvex plugin"},  {"FileVersion", "1.9.0.0"},
      {"InternalName", "vktQuantaro.zxp"},   {"OriginalFilename", "vktQuantaro.zxp"},
      {"ProductName", "vktQuantaro"},         {"ProductVersion", "1.0"},
      {"Comments", "Plugin for zorvex"},      {"LegalTrademarks", "VKT"},
      {"CompanyName", "vktQuantaro Team"},    {"LegalCopyright", "vktQuantaro Team"}};
  for (const auto& entry : strings) {
    const std::string key = std::string("\\StringFileInfo\\040904E4\\") + entry[0];
    char* value = nullptr;
    const bool found = VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) && value;
    check(entry[0], found ? std::string(value) : std::string("(missing)"), entry[1]);
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed ? 1 : 0;
}
