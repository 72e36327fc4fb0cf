// Runs the shared black-box cases (tests/plugin/cases.txt) against the
// Windows plug-in DLL through zxhost's loader and thunks, once under a host
// x87 control word of 0x1332 (faults unmasked, as the Zorvex host runs) and
// once under 0x027F (as many C hosts run). Each case gets a fresh copy of
// the DLL in a folder whose path has spaces in it. A case fails on any
// expectation of the table, on any call whose ESP or floating-point state
// was not balanced, and when the host's settings differ after the case.
//
// Usage: plugin_cases_wine CASES-FILE PLUGIN-FILE WORK-FOLDER
//        plugin_cases_wine --self-test BAD-PLUGIN-FILE
//          the thunks report a plug-in that breaks the convention
//        plugin_cases_wine --host-checks PLUGIN-FILE
//          the plug-in against hosts that misbehave

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "host/PlugInLoader.h"
#include "host/win32/HostThunks.h"
#include "tests/plugin/CaseFile.h"
#include "tests/plugin/CaseRunner.h"
#include "tests/plugin/HostChecks.h"
#include "tests/plugin/FloatState.h"

namespace {

struct THostFloat {
  const char* name;
  std::uint16_t control;
  std::uint32_t mxcsr;
};

// 0x1332: 64-bit precision, invalid operation, division by zero and
// overflow unmasked; the same three unmasked in SSE, inexact already raised.
constexpr THostFloat kHosts[] = {{"cw 1332", 0x1332, 0x1D20}, {"cw 027F", 0x027F, 0x1F80}};

// Paths of ASCII only; the wide calls with the "\\?\" prefix take folders
// beyond MAX_PATH.
std::wstring LongPath(const std::string& path) { return L"\\\\?\\" + std::wstring(path.begin(), path.end()); }

bool MakeFolders(const std::string& path) {
  for (std::size_t at = path.find('\\', 3); ; at = path.find('\\', at + 1)) {
    const std::wstring part = LongPath(path.substr(0, at));
    if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    if (at == std::string::npos) return true;
  }
}

std::string FullPath(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  return n && n < sizeof buffer ? std::string(buffer, n) : path;
}

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path);
      else
        DeleteFileW(path.c_str());
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

// The user's decimal separator, set for the time the plug-in loads.
class TSeparator {
public:
  explicit TSeparator(char sep) {
    if (!sep) return;
    char old[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, old, sizeof old);
    FOld = old;
    const char text[2] = {sep, 0};
    FSet = SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text) != 0;
  }
  ~TSeparator() {
    if (FSet) SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, FOld.c_str());
  }
  bool Failed() const { return !FSet && !FOld.empty(); }

private:
  std::string FOld;
  bool FSet = false;
};

std::vector<std::string> RunOne(const TCase& c, const THostFloat& host, const std::string& dll,
                                const std::string& work) {
  const std::string caseFolder = work + "\\case " + c.name + " " + (host.control == 0x1332 ? "a" : "b");
  std::string folder = caseFolder;
  if (c.deepFolder)
    for (char letter : std::string("abcd")) folder += "\\" + std::string(80, letter);
  if (!MakeFolders(folder)) return {"cannot make the folder " + folder};
  const std::string plugin = folder + "\\vktQuantaro.zxp";
  if (!CopyFileW(LongPath(FullPath(dll)).c_str(), LongPath(plugin).c_str(), FALSE)) return {"cannot copy the plug-in to " + plugin};
  if (c.hasIni) {
    std::string text;
    for (const std::string& line : c.ini) text += line + "\r\n";
    HANDLE file = CreateFileW(LongPath(folder + "\\vktQuantaro.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE && WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!ok) return {"cannot write the settings file"};
  }

  std::vector<std::string> failures;
  {
    TPlugInLibrary library;
    std::string error;
    {
      TSeparator separator(c.separator);
      if (separator.Failed()) return {"cannot set the decimal separator"};
      if (!library.Load(plugin, error)) return {error};
    }
    ClearCallReport();
    WriteFloat(host.control, host.mxcsr);
    const TFloatState before = ReadFloat();
    failures = RunCase(c, library.Api(), plugin);
    const TFloatState after = ReadFloat();
    WriteFloat(0x027F, 0x1F80);
    for (const std::string& fault : CallReport().faults) failures.push_back(fault);
    if (after.control != before.control || after.status != before.status ||
        after.mxcsr != before.mxcsr) {
      char text[160];
      std::snprintf(text, sizeof text, "host floating-point state %04X/%04X/%08lX became %04X/%04X/%08lX",
                    before.control, before.status, static_cast<unsigned long>(before.mxcsr), after.control,
                    after.status, static_cast<unsigned long>(after.mxcsr));
      failures.push_back(text);
    }
    if (CallReport().calls == 0 && !c.steps.empty()) failures.push_back("no call went through the checked thunks");
    ClearCallReport();
  }
  RemoveTree(LongPath(caseFolder));
  return failures;
}

// Calls a plug-in whose zxRegisterPlugIn leaves 4 bytes on the stack and
// whose zxExecAction changes the control word: both must be reported, and
// the host must go on.
int SelfTest(const std::string& bad) {
  TPlugInLibrary library;
  std::string error;
  if (!library.Load(bad, error)) {
    std::printf("FAIL self-test: %s\n0 passed, 1 failed\n", error.c_str());
    return 1;
  }
  ClearCallReport();
  const TFloatState saved = ReadFloat();
  // The words as this processor reads them back: a real x87 shows reserved
  // bit 6 set (0x1332 reads as 0x1372), an emulated one may not.
  WriteFloat(0x037F, 0x1F80);
  const std::uint16_t badControl = ReadFloat().control;
  WriteFloat(0x1332, 0x1F80);
  const std::uint16_t hostControl = ReadFloat().control;
  library.Api().RegisterPlugIn(nullptr, nullptr, nullptr, nullptr);
  char* params[] = {nullptr, nullptr};
  library.Api().ExecAction(1, params);
  WriteFloat(saved.control, saved.mxcsr);
  char changed[96];
  std::snprintf(changed, sizeof changed, "zxExecAction: floating-point state changed: control %04X -> %04X",
                hostControl, badControl);
  const auto& faults = CallReport().faults;
  const bool ok = CallReport().calls == 2 && faults.size() == 2 &&
                  faults[0].starts_with("zxRegisterPlugIn: ESP") && faults[1].starts_with(changed);
  for (const std::string& f : faults) std::printf("    reported: %s\n", f.c_str());
  std::printf("%-6s the thunks report a broken convention\n%d passed, %d failed\n", ok ? "ok" : "FAIL", ok, !ok);
  ClearCallReport();
  return ok ? 0 : 1;
}

// The plug-in against hosts that misbehave: routines that check the
// settings they run under, raise flags, or raise structured exceptions; and
// both actions from a thread with a small stack.
int HostChecks(const std::string& plugin) {
  TPlugInLibrary library;
  std::string error;
  if (!library.Load(plugin, error)) {
    std::printf("FAIL host checks: %s\n0 passed, 1 failed\n", error.c_str());
    return 1;
  }
  int passed = 0, failed = 0;
  auto report = [&](const std::string& name, const std::vector<std::string>& failures) {
    std::vector<std::string> all = failures;
    for (const std::string& fault : CallReport().faults) all.push_back(fault);
    ClearCallReport();
    std::printf("%-6s %s\n", all.empty() ? "ok" : "FAIL", name.c_str());
    for (const std::string& f : all) std::printf("    %s\n", f.c_str());
    (all.empty() ? passed : failed)++;
  };
  ClearCallReport();
  for (const THostFloat& host : kHosts) {
    report(std::string("host routines under the host's settings [") + host.name + "]",
           CheckHostSettingsSeen(library.Api(), host.control, host.mxcsr, false));
    // Access violation, integer and x87 division by zero as the host's own
    // code runs into them; an error of the host's language runtime; and a
    // code of the host's own.
    const std::uint32_t codes[] = {0x0EEDFADE, 0xE06D7363, EXCEPTION_ACCESS_VIOLATION, EXCEPTION_INT_DIVIDE_BY_ZERO,
                                   EXCEPTION_FLT_DIVIDE_BY_ZERO};
    for (const std::uint32_t code : codes)
      for (const int failingCall : {1, 2, 0}) {
        char name[96];
        std::snprintf(name, sizeof name, "host routine raises %08lX on %s [%s]", static_cast<unsigned long>(code),
                      failingCall == 1 ? "the first call" : failingCall == 2 ? "the second call" : "every call",
                      host.name);
        report(name, CheckHostExceptions(library.Api(), host.control, host.mxcsr, code, failingCall));
      }
  }
  report("host routines raising flags [cw 027F]", CheckHostSettingsSeen(library.Api(), 0x027F, 0x1F80, true));
  report("both actions on a 64 KB stack", CheckSmallStack(library.Api()));
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--self-test") return SelfTest(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "--host-checks") return HostChecks(argv[2]);
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s CASES-FILE PLUGIN-FILE WORK-FOLDER\n", argv[0]);
    return 2;
  }
  std::string error;
  const std::vector<TCase> cases = ReadCaseFile(argv[1], error);
  if (!error.empty() || cases.empty()) {
    std::fprintf(stderr, "cannot read the cases: %s\n", error.c_str());
    return 2;
  }
  const std::string work = FullPath(argv[3]);
  if (!MakeFolders(work)) {
    std::fprintf(stderr, "cannot make %s\n", work.c_str());
    return 2;
  }
  int passed = 0, failed = 0;
  for (const THostFloat& host : kHosts) {
    for (const TCase& c : cases) {
      const std::vector<std::string> failures = RunOne(c, host, argv[2], work);
      std::printf("%-6s %s [%s]\n", failures.empty() ? "ok" : "FAIL", c.name.c_str(), host.name);
      for (const std::string& f : failures) std::printf("    %s\n", f.c_str());
      (failures.empty() ? passed : failed)++;
    }
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  std::fflush(stdout);
  return failed ? 1 : 0;
}
