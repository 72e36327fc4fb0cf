#pragma once
// Loading a plug-in file and finding its exports. The host calls the
// plug-in only through the pointers of TPlugInApi; a build whose plug-ins use
// other calling conventions fills them with callers of its own.

#include <string>
#include <vector>

#include "plugin/PlugInApi.h"

struct TPlugInApi {
  TZxRegisterPlugIn RegisterPlugIn = nullptr;
  TZxInitPlugIn InitPlugIn = nullptr;
  TZxRegisterScriptProcessor RegisterScriptProcessor = nullptr;
  TZxRegisterInterfaceAccess RegisterInterfaceAccess = nullptr;
  TZxMessage Message = nullptr;
  TZxExecAction ExecAction = nullptr;
  TZxEditAction EditAction = nullptr;
  TZxAbout About = nullptr;
  TVktCmdList CmdList = nullptr;  // optional: nil when the plug-in has no command list
  TVktExec Exec = nullptr;        // optional
};

class TPlugInLibrary {
public:
  TPlugInLibrary() = default;
  ~TPlugInLibrary();
  TPlugInLibrary(const TPlugInLibrary&) = delete;
  TPlugInLibrary& operator=(const TPlugInLibrary&) = delete;

  // Loads the file and finds its exports; false with a reason on failure
  // (the file does not load, or a zx export is missing).
  bool Load(const std::string& path, std::string& error);
  void Unload();
  bool Loaded() const { return FHandle != nullptr; }
  const TPlugInApi& Api() const { return FApi; }

private:
  void* FHandle = nullptr;
  TPlugInApi FApi;
};

// Where a host without a --plugin path looks for the plug-in file, in
// order: beside the running program, then (native build) where an
// installation puts it, ../lib/vktQuantaro/ seen from the program.
std::vector<std::string> PlugInSearchPaths();
// The first of those that exists, else the first.
std::string DefaultPlugInPath();

// The memory of host strings, shared with the plug-in.
char* NewHostString(const std::string& text);
void DisposeHostString(char*& block);
