#include "plugin/Platform.h"

#include <windows.h>

#include <vector>

// The Windows build: the system's module, file and settings-file services,
// and GlobalAlloc blocks for host strings, as the host expects them.

namespace {
constexpr std::size_t kProfileBufferSize = 2048;  // the value and its terminating zero
}

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

std::string_view PathSeparators() { return "\\/:"; }

void* HostBlockAlloc(std::size_t size) { return reinterpret_cast<void*>(GlobalAlloc(GMEM_FIXED, size)); }
void HostBlockFree(void* block) { GlobalFree(reinterpret_cast<HGLOBAL>(block)); }
