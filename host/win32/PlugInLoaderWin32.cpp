// Loading the plug-in DLL on 32-bit Windows with LoadLibraryA. The host's
// calls keep their C++ signatures (TPlugInApi); each one is a thunk that
// calls the export through HostThunks in the export's own convention and has
// the call checked. The routines handed over are swapped for the
// register-convention entries in front of them.
//
// The thunks carry no context, so one plug-in is served at a time: the one
// loaded last.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/PlugInLoader.h"
#include "host/win32/HostThunks.h"

namespace {

struct TExports {
  const void* RegisterPlugIn = nullptr;
  const void* InitPlugIn = nullptr;
  const void* RegisterScriptProcessor = nullptr;
  const void* RegisterInterfaceAccess = nullptr;
  const void* Message = nullptr;
  const void* ExecAction = nullptr;
  const void* EditAction = nullptr;
  const void* About = nullptr;
  const void* CmdList = nullptr;
  const void* Exec = nullptr;
};
TExports gExports;

template <typename T>
std::uint32_t W(T value) {
  if constexpr (std::is_pointer_v<T>)
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(value));
  else
    return static_cast<std::uint32_t>(value);
}

std::uint32_t Reg(const char* name, const void* routine, const std::vector<std::uint32_t>& args) {
  return CheckedCall(name, TConvention::Register, routine, args);
}

void RegisterPlugInThunk(TAddActionProc add, void* second, void* third, TSetVarProc setVar) {
  SetHostRoutines(add, setVar);
  Reg("zxRegisterPlugIn", gExports.RegisterPlugIn,
      {W(add ? AddActionEntry() : nullptr), W(second), W(third), W(setVar ? SetVarEntry() : nullptr)});
}
void InitPlugInThunk(std::int32_t value, char** name, char** author, char** hint) {
  Reg("zxInitPlugIn", gExports.InitPlugIn, {W(value), W(name), W(author), W(hint)});
}
void RegisterScriptProcessorThunk(void* proc) {
  Reg("zxRegisterScriptProcessor", gExports.RegisterScriptProcessor, {W(proc)});
}
void RegisterInterfaceAccessThunk(TInterfaceAccessProc proc) {
  SetHostInterfaceAccess(proc);
  Reg("zxRegisterInterfaceAccess", gExports.RegisterInterfaceAccess, {W(proc ? InterfaceAccessEntry() : nullptr)});
}
void MessageThunk(std::int32_t message) { Reg("zxMessage", gExports.Message, {W(message)}); }
bool ExecActionThunk(std::int32_t action, char** params) {
  return (Reg("zxExecAction", gExports.ExecAction, {W(action), W(params)}) & 0xFF) != 0;
}
bool EditActionThunk(std::int32_t action, char** params) {
  return (Reg("zxEditAction", gExports.EditAction, {W(action), W(params)}) & 0xFF) != 0;
}
void AboutThunk() { Reg("zxAbout", gExports.About, {}); }
std::int32_t CmdListThunk(const char* unused, const char* form, char* buffer) {
  return static_cast<std::int32_t>(
      CheckedCall("vktQuantaroCmdList", TConvention::StdCall, gExports.CmdList, {W(unused), W(form), W(buffer)}));
}
bool ExecThunk(std::intptr_t a1, std::intptr_t a2, std::intptr_t a3, std::intptr_t a4, std::intptr_t a5,
               std::intptr_t a6, std::intptr_t a7, std::intptr_t a8, std::intptr_t a9, std::intptr_t a10,
               std::intptr_t a11, std::intptr_t a12) {
  return (CheckedCall("vktQuantaroExec", TConvention::StdCall, gExports.Exec,
                      {W(a1), W(a2), W(a3), W(a4), W(a5), W(a6), W(a7), W(a8), W(a9), W(a10), W(a11), W(a12)}) &
          0xFF) != 0;
}

// A path beyond MAX_PATH loads through the wide call with the "\\?\"
// prefix, which takes a full path of any length.
HMODULE LoadLongPath(const std::string& path) {
  const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  if (n <= 0) return nullptr;
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n);
  wide.resize(static_cast<std::size_t>(n - 1));
  return LoadLibraryW((L"\\\\?\\" + wide).c_str());
}

// A call that broke the convention or the floating-point state is a failure
// of the run, reported when the program ends.
void ReportCallFaults() {
  const TCallReport& report = CallReport();
  if (report.faults.empty()) return;
  for (const std::string& fault : report.faults) std::fprintf(stderr, "zxhost: %s\n", fault.c_str());
  std::fflush(nullptr);
  std::_Exit(3);
}

}  // namespace

TPlugInLibrary::~TPlugInLibrary() { Unload(); }

bool TPlugInLibrary::Load(const std::string& path, std::string& error) {
  static const bool reporting = std::atexit(ReportCallFaults) == 0;
  (void)reporting;
  Unload();
  HMODULE module = LoadLibraryA(path.c_str());
  if (!module && GetLastError() == ERROR_FILENAME_EXCED_RANGE) module = LoadLongPath(path);
  if (!module) {
    error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  FHandle = module;
  std::string missing;
  auto find = [&](const char* name, const void*& raw, bool required) {
    raw = reinterpret_cast<const void*>(GetProcAddress(module, name));
    if (!raw && required) missing += missing.empty() ? name : std::string(", ") + name;
  };
  find("zxRegisterPlugIn", gExports.RegisterPlugIn, true);
  find("zxInitPlugIn", gExports.InitPlugIn, true);
  find("zxRegisterScriptProcessor", gExports.RegisterScriptProcessor, true);
  find("zxRegisterInterfaceAccess", gExports.RegisterInterfaceAccess, true);
  find("zxMessage", gExports.Message, true);
  find("zxExecAction", gExports.ExecAction, true);
  find("zxEditAction", gExports.EditAction, true);
  find("zxAbout", gExports.About, true);
  find("vktQuantaroCmdList", gExports.CmdList, false);
  find("vktQuantaroExec", gExports.Exec, false);
  if (!missing.empty()) {
    error = path + " lacks the exports " + missing;
    Unload();
    return false;
  }
  FApi.RegisterPlugIn = &RegisterPlugInThunk;
  FApi.InitPlugIn = &InitPlugInThunk;
  FApi.RegisterScriptProcessor = &RegisterScriptProcessorThunk;
  FApi.RegisterInterfaceAccess = &RegisterInterfaceAccessThunk;
  FApi.Message = &MessageThunk;
  FApi.ExecAction = &ExecActionThunk;
  FApi.EditAction = &EditActionThunk;
  FApi.About = &AboutThunk;
  FApi.CmdList = gExports.CmdList ? &CmdListThunk : nullptr;
  FApi.Exec = gExports.Exec ? &ExecThunk : nullptr;
  return true;
}

void TPlugInLibrary::Unload() {
  if (FHandle) FreeLibrary(static_cast<HMODULE>(FHandle));
  FHandle = nullptr;
  FApi = TPlugInApi{};
}

std::vector<std::string> PlugInSearchPaths() { return {DefaultPlugInPath()}; }

std::string DefaultPlugInPath() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return "vktQuantaro.zxp";
    if (n < buffer.size() - 1 || buffer.size() >= (1u << 17)) {
      const std::string exe(buffer.data(), n);
      return exe.substr(0, exe.find_last_of("\\/") + 1) + "vktQuantaro.zxp";
    }
    buffer.resize(buffer.size() * 2);
  }
}

// Host strings live in fixed global blocks, which the plug-in frees and
// allocates with GlobalFree and GlobalAlloc.
char* NewHostString(const std::string& text) {
  char* block = static_cast<char*>(reinterpret_cast<void*>(GlobalAlloc(GMEM_FIXED, text.size() + 1)));
  if (block) std::memcpy(block, text.c_str(), text.size() + 1);
  return block;
}

void DisposeHostString(char*& block) {
  if (block) GlobalFree(reinterpret_cast<HGLOBAL>(block));
  block = nullptr;
}
