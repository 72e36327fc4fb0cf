#include "plugin/Platform.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <vector>

#include "plugin/ProfileText.h"

// The native build: POSIX files, the loader's own record of the library,
// and malloc for host strings.

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

std::string_view PathSeparators() { return "/"; }

void* HostBlockAlloc(std::size_t size) { return std::malloc(size); }
void HostBlockFree(void* block) { std::free(block); }
