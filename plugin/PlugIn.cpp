#include "plugin/PlugIn.h"

#include <cstring>

#include "plugin/Actions.h"
#include "plugin/CommandList.h"
#include "plugin/EntryGuard.h"
#include "plugin/Platform.h"
#include "plugin/PlugInUtils.h"
#include "plugin/Settings.h"

std::string PlugInName;
std::array<std::string, 3> ActionName;
std::array<std::int32_t, 3> ActionParamCount{};
std::array<std::string, 3> ActionGroup;
std::array<std::string, 3> ActionDescription;

namespace {

// Kept as the host hands them over; nothing in the plug-in reads them.
void* gSecondProc = nullptr;
void* gThirdProc = nullptr;
std::int32_t gInitValue = 0;

constexpr std::uint8_t kGroupKinds[] = {0};
constexpr std::uint8_t kCalcKinds[] = {ParamKindText, ParamKindVariable};
constexpr std::uint8_t kDiffKinds[] = {ParamKindText, ParamKindText, ParamKindVariable};

std::string Text(const char* text) { return std::string(HostStringText(text)); }

void ReadActionTexts() {
  const TPlugInSettings settings;
  if (!settings.Exists()) {
    ActionGroup[1] = kDefaultGroup1;
    ActionGroup[2] = kDefaultGroup2;
    ActionDescription[1] = kDefaultCalcDescription;
    ActionDescription[2] = kDefaultDiffDescription;
    return;
  }
  ActionGroup[1] = settings.Read("GroupDescription", "1", kDefaultGroup1);
  ActionGroup[2] = settings.Read("GroupDescription", "2", kDefaultGroup2);
  ActionDescription[1] = WithLineBreaks(settings.Read("CommandDescription", "vktCalcExpress", kDefaultCalcDescription));
  ActionDescription[2] = WithLineBreaks(settings.Read("CommandDescription", "vktDiffExpress", kDefaultDiffDescription));
}

std::string HintText() {
  const TPlugInSettings settings;
  if (!settings.Exists()) return kDefaultHint;
  return WithLineBreaks(settings.Read("PlugInHeader", "PlugInHint", kDefaultHint));
}

}  // namespace

void RegisterPlugIn(TAddActionProc add, void* second, void* third, TSetVarProc setVar) noexcept {
  Guarded([&] {
    AddActionProc = add;
    gSecondProc = second;
    gThirdProc = third;
    SetVarProc = setVar;
    PlugInName = "vktQuantaro";
    ActionName = {"", "vktCalcExpress", "vktDiffExpress"};
    ActionParamCount = {0, 2, 3};
    ReadActionTexts();
    CallAddAction(0, ActionGroup[1], "", kGroupKinds, 0, 0);
    CallAddAction(1, ActionName[1], ActionDescription[1], kCalcKinds, 1, ActionParamCount[1]);
    CallAddAction(0, ActionGroup[2], "", kGroupKinds, 0, 0);
    CallAddAction(2, ActionName[2], ActionDescription[2], kDiffKinds, 2, ActionParamCount[2]);
  });
}

void InitPlugIn(std::int32_t value, char** name, char** author, char** hint) noexcept {
  Guarded([&] {
    const std::string hintText = HintText();
    gInitValue = value;
    // The three texts in this order; a failed allocation stops there and
    // leaves that variable and the ones after it as they were.
    const bool stored = (!name || SetHostString(*name, kPlugInTitle)) &&
                        (!author || SetHostString(*author, kPlugInAuthor)) &&
                        (!hint || SetHostString(*hint, hintText));
    (void)stored;
  });
}

void RegisterScriptProcessor(void* proc) noexcept { ScriptProcessorProc = proc; }

void RegisterInterfaceAccess(TInterfaceAccessProc proc) noexcept { InterfaceAccessProc = proc; }

void PlugInMessage(std::int32_t message) noexcept {
  Guarded([&] {
    if (message == 1) CallSetVar(kDllNameVar, PlugInFilePath());
  });
}

bool ExecAction(std::int32_t action, char** params) noexcept {
  return Guarded(false, [&] {
    // The texts are copied first; the host's blocks are never changed.
    auto param = [&](int i) { return params ? Text(params[i]) : std::string(); };
    switch (action) {
      case 1: return CalcAction(param(0), param(1));
      case 2: return DiffAction(param(0), param(1), param(2));
      default: return false;
    }
  });
}

bool EditAction(std::int32_t, char**) noexcept {
  // The build without dialogs: nothing is shown and the parameters stay as
  // they are.
  return false;
}

void About() noexcept {}

std::int32_t CmdList(const char*, const char* form, char* buffer) noexcept {
  return Guarded(std::int32_t{0}, [&] {
    if (!buffer) return std::int32_t{0};
    const std::array<TCommandInfo, 2> commands{{{ActionName[1], ActionParamCount[1]},
                                                {ActionName[2], ActionParamCount[2]}}};
    const std::string list = CommandListText(commands, IsLispForm(HostStringText(form)));
    std::memcpy(buffer, list.c_str(), list.size() + 1);
    return std::int32_t{1};
  });
}

bool ExecCommand(const char*, const char* number, const char* arg3, const char* arg4,
                 const char* arg5) noexcept {
  return Guarded(false, [&] {
    const auto command = ParseCommandNumber(HostStringText(number));
    if (!command) return false;
    switch (*command) {
      case 1: return CalcAction(Text(arg3), Text(arg4));
      case 2: return DiffAction(Text(arg3), Text(arg4), Text(arg5));
      default: return false;
    }
  });
}
