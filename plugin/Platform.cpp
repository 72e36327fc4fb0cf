#include "plugin/Platform.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "plugin/ProfileText.h"
#endif

#if defined(_WIN32)

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

#else

namespace {

// The loader reports the name the library was loaded by. A relative name
// holds only in the working folder of that moment, so the path is made
// absolute while the library loads, before the host can change folders.
std::string LoadedModulePath() noexcept {
  try {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&LoadedModulePath), &info) || !info.dli_fname) return {};
    std::string path = info.dli_fname;
    if (path.empty() || path[0] == '/') return path;
    std::vector<char> cwd(4096);
    while (!getcwd(cwd.data(), cwd.size())) {
      if (errno != ERANGE) return path;
      cwd.resize(cwd.size() * 2);
    }
    const std::string folder = cwd.data();
    if (path.starts_with("./")) path.erase(0, 2);
    return folder + (folder.ends_with('/') ? "" : "/") + path;
  } catch (...) {
    return {};
  }
}

const std::string gModulePath = LoadedModulePath();

}  // namespace

std::string PlugInFilePath() { return gModulePath; }

bool FileExists(const std::string& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

namespace {

// The settings file is read only up to this size: its values need a few
// kilobytes, and the bound keeps a wrong or hostile file from costing the
// host more than that much time and memory. Keys beyond it give defaults.
constexpr std::size_t kProfileReadLimit = 4u << 20;

class TFileHandle {
public:
  explicit TFileHandle(int fd) : FFd(fd) {}
  ~TFileHandle() {
    if (FFd >= 0) close(FFd);
  }
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;
  int Fd() const { return FFd; }

private:
  int FFd;
};

// At most limit bytes of path when it is a regular file; nothing otherwise.
// Neither a FIFO (whose opening would wait for a writer) nor a device (which
// may never end) is read: the path is checked before it is opened without
// blocking, and the file opened is checked again.
std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t limit) {
  struct stat st{};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  const TFileHandle file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.Fd() < 0 || fstat(file.Fd(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  std::string content(std::min(static_cast<std::size_t>(st.st_size), limit), '\0');
  std::size_t got = 0;
  while (got < content.size()) {
    const ssize_t n = read(file.Fd(), content.data() + got, content.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  content.resize(got);
  return content;
}

}  // namespace

std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& def, const std::string& path) {
  const std::optional<std::string> content = ReadRegularFile(path, kProfileReadLimit);
  return FindProfileValue(content ? std::string_view(*content) : std::string_view(), section, key, def);
}

namespace {
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

std::string AnsiUpperCase(std::string text) {
  for (char& c : text) c = AsciiUpper(c);
  return text;
}

#endif
