#pragma once
// The reference host: what the Zorvex host does with a plug-in, reduced to
// a variable store, a list of registered actions and the routines it hands
// over. It keeps a record of every call the plug-in makes into it, so that
// its users (the zxhost program, the black-box tests) can show or check it.

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "host/PlugInLoader.h"

struct TRegisteredEntry {  // one AddActionProc call
  std::int32_t number = 0;  // 0: group heading
  std::string name, description;
  std::vector<std::uint8_t> kinds;  // count bytes (one byte for a group heading)
  std::int32_t numberAgain = 0;
  std::uint8_t count = 0;
};

struct TVariableSet {  // one SetVarProc call
  std::string name, value;
};

class TZxHost {
public:
  // The plug-in's routines; at most one host is active at a time, since the
  // routines handed to the plug-in carry no context.
  explicit TZxHost(const TPlugInApi& api);
  ~TZxHost();
  TZxHost(const TZxHost&) = delete;
  TZxHost& operator=(const TZxHost&) = delete;

  const TPlugInApi& Api() const { return FApi; }

  // The start-up the host performs after loading: registration, the three
  // texts of initialisation, the two further routines and message 1.
  void Start();
  void Register();
  void Init();

  // Runs an action with the given parameter texts (nil for none) through
  // zxExecAction; the host's blocks are made for the call and freed after.
  bool ExecAction(std::int32_t action, const std::vector<std::optional<std::string>>& params);
  // Shows the editor of an action through zxEditAction with blocks made
  // for the call: its result, and for each parameter the text it holds
  // afterwards and whether the plug-in put a new block there.
  struct TEdited {
    bool result = false;
    std::vector<std::optional<std::string>> texts;
    std::vector<bool> fresh;
  };
  TEdited EditAction(std::int32_t action, const std::vector<std::optional<std::string>>& params);
  void About() { FApi.About(); }
  // vktQuantaroExec with up to three texts after the number text.
  bool ExecCommand(const std::string& number, const std::vector<std::string>& args);
  // vktQuantaroCmdList; the list text, or nothing when it returned 0.
  std::optional<std::string> CommandList(const std::string& form);

  const std::string& Name() const { return FName; }
  const std::string& Author() const { return FAuthor; }
  const std::string& Hint() const { return FHint; }
  const std::vector<TRegisteredEntry>& Entries() const { return FEntries; }
  const std::map<std::string, std::string>& Variables() const { return FVariables; }
  const TRegisteredEntry* FindAction(const std::string& name) const;

  // What the plug-in did since the last ClearLog.
  const std::vector<TVariableSet>& VariablesSet() const { return FSets; }
  const std::vector<TRegisteredEntry>& EntriesAdded() const { return FAdded; }
  int InterfaceAccessCalls() const { return FInterfaceCalls; }
  void ClearLog();
  bool ErrorSet() const;  // "[LastError]" set since the last ClearLog

private:
  static bool AddAction(std::int32_t number, const char* name, const char* description,
                        const std::uint8_t* kinds, std::int32_t numberAgain, std::uint8_t count);
  static bool SetVar(const char* name, const char* value);
  static bool InterfaceAccess(std::int32_t command, char** variable);

  TPlugInApi FApi;
  std::string FName, FAuthor, FHint;
  std::vector<TRegisteredEntry> FEntries;
  std::map<std::string, std::string> FVariables;
  std::vector<TVariableSet> FSets;
  std::vector<TRegisteredEntry> FAdded;
  int FInterfaceCalls = 0;
};

// Writes a plug-in text for the terminal: UTF-8, control characters escaped
// ("\r", "\n", "\xHH"), in double quotes.
std::string DisplayText(const std::string& text);

// Names of parameter kinds: "text", "variable" or the number.
std::string KindName(std::uint8_t kind);

// The host's reports: the plug-in's texts and actions, and the variables an
// action set.
void PrintInfo(const TZxHost& host, std::ostream& out);
void PrintVariablesSet(const TZxHost& host, std::ostream& out);
