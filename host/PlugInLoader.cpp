#include "host/PlugInLoader.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include <dlfcn.h>
#include <unistd.h>

namespace {

template <typename T>
bool Find(void* handle, const char* name, T& fn, std::string& missing) {
  fn = reinterpret_cast<T>(dlsym(handle, name));
  if (!fn) missing += missing.empty() ? name : std::string(", ") + name;
  return fn != nullptr;
}

}  // namespace

TPlugInLibrary::~TPlugInLibrary() { Unload(); }

bool TPlugInLibrary::Load(const std::string& path, std::string& error) {
  Unload();
  FHandle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!FHandle) {
    const char* reason = dlerror();
    error = reason ? reason : "cannot load " + path;
    return false;
  }
  std::string missing;
  Find(FHandle, "zxRegisterPlugIn", FApi.RegisterPlugIn, missing);
  Find(FHandle, "zxInitPlugIn", FApi.InitPlugIn, missing);
  Find(FHandle, "zxRegisterScriptProcessor", FApi.RegisterScriptProcessor, missing);
  Find(FHandle, "zxRegisterInterfaceAccess", FApi.RegisterInterfaceAccess, missing);
  Find(FHandle, "zxMessage", FApi.Message, missing);
  Find(FHandle, "zxExecAction", FApi.ExecAction, missing);
  Find(FHandle, "zxEditAction", FApi.EditAction, missing);
  Find(FHandle, "zxAbout", FApi.About, missing);
  std::string optional;
  Find(FHandle, "vktQuantaroCmdList", FApi.CmdList, optional);
  Find(FHandle, "vktQuantaroExec", FApi.Exec, optional);
  if (!missing.empty()) {
    error = path + " lacks the exports " + missing;
    Unload();
    return false;
  }
  return true;
}

void TPlugInLibrary::Unload() {
  if (FHandle) dlclose(FHandle);
  FHandle = nullptr;
  FApi = TPlugInApi{};
}

namespace {

std::string ProgramFolder() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return "";
    if (static_cast<std::size_t>(n) < buffer.size()) {
      const std::string exe(buffer.data(), static_cast<std::size_t>(n));
      return exe.substr(0, exe.find_last_of('/') + 1);
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

std::vector<std::string> PlugInSearchPaths() {
  const std::string folder = ProgramFolder();
  return {folder + "vktQuantaro.zxp", folder + "../lib/vktQuantaro/vktQuantaro.zxp"};
}

std::string DefaultPlugInPath() {
  const std::vector<std::string> paths = PlugInSearchPaths();
  for (const std::string& path : paths)
    if (access(path.c_str(), F_OK) == 0) return path;
  return paths.front();
}

char* NewHostString(const std::string& text) {
  char* block = static_cast<char*>(std::malloc(text.size() + 1));
  if (block) std::memcpy(block, text.c_str(), text.size() + 1);
  return block;
}

void DisposeHostString(char*& block) {
  std::free(block);
  block = nullptr;
}
