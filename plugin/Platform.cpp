#include "plugin/Platform.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
constexpr std::size_t kProfileBufferSize = 2048;  // the value and its terminating zero
}

#if defined(_WIN32)

std::string PlugInFilePath() {
  HMODULE self = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCSTR>(&PlugInFilePath), &self))
    return {};
  // The system cuts the path silently when the buffer is too small, so the
  // buffer grows until the path and its zero fit with room to spare.
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameA(self, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size() - 1) return std::string(buffer.data(), n);
    if (buffer.size() >= 32768 * 4) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

namespace {

// The ANSI file calls stop at MAX_PATH; a longer path is handed to them in
// its short (8.3) form, when the volume keeps short names.
std::string AnsiFilePath(const std::string& path) {
  if (path.size() < MAX_PATH) return path;
  const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  if (n <= 0) return path;
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n);
  wide = L"\\\\?\\" + wide.substr(0, wide.size() - 1);
  const DWORD size = GetShortPathNameW(wide.c_str(), nullptr, 0);
  if (size == 0) return path;
  std::wstring shortPath(size, L'\0');
  const DWORD got = GetShortPathNameW(wide.c_str(), shortPath.data(), size);
  if (got == 0 || got >= size) return path;
  shortPath.resize(got);
  if (shortPath.starts_with(L"\\\\?\\")) shortPath.erase(0, 4);
  const int m = WideCharToMultiByte(CP_ACP, 0, shortPath.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (m <= 0 || m > MAX_PATH) return path;
  std::string result(static_cast<std::size_t>(m), '\0');
  WideCharToMultiByte(CP_ACP, 0, shortPath.c_str(), -1, result.data(), m, nullptr, nullptr);
  result.resize(static_cast<std::size_t>(m - 1));
  return result;
}

}  // namespace

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(AnsiFilePath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& def, const std::string& path) {
  char buffer[kProfileBufferSize];
  const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer,
                                           sizeof buffer, AnsiFilePath(path).c_str());
  return std::string(buffer, n);
}

std::string AnsiUpperCase(std::string text) {
  if (!text.empty()) CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

#else

std::string PlugInFilePath() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&PlugInFilePath), &info) || !info.dli_fname) return {};
  std::string path = info.dli_fname;
  // The loader reports the name as it was given to it; a relative one is
  // made absolute against the current folder.
  if (!path.empty() && path[0] != '/') {
    std::vector<char> cwd(4096);
    while (!getcwd(cwd.data(), cwd.size())) {
      if (cwd.size() > (1u << 20)) return path;
      cwd.resize(cwd.size() * 2);
    }
    std::string folder = cwd.data();
    if (path.starts_with("./")) path.erase(0, 2);
    path = folder + (folder.ends_with('/') ? "" : "/") + path;
  }
  return path;
}

bool FileExists(const std::string& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

std::string Limited(std::string_view value) {
  return std::string(value.substr(0, std::min(value.size(), kProfileBufferSize - 1)));
}

// profile = { line }
// line    = "[" name ["]" ...] | ";" comment | key ["=" value] | blank
// Only the first section of the wanted name is searched.
std::string FindProfileValue(std::string_view content, std::string_view section, std::string_view key,
                             const std::string& def) {
  bool inSection = false, seenSection = false;
  while (!content.empty()) {
    const std::size_t end = content.find('\n');
    const std::string_view line = Trim(content.substr(0, end));
    content = end == std::string_view::npos ? std::string_view() : content.substr(end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      if (seenSection) break;
      const std::string_view name = Trim(line.substr(1, line.find(']') - 1));
      inSection = seenSection = SameName(name, section);
      continue;
    }
    if (!inSection) continue;
    const std::size_t eq = line.find('=');
    if (!SameName(Trim(line.substr(0, eq)), key)) continue;
    return eq == std::string_view::npos ? std::string() : Limited(Unquote(Trim(line.substr(eq + 1))));
  }
  return Limited(def);
}

}  // namespace

std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& def, const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return Limited(def);
  const std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return FindProfileValue(content, section, key, def);
}

std::string AnsiUpperCase(std::string text) {
  for (char& c : text) c = AsciiUpper(c);
  return text;
}

#endif
