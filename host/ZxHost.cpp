#include "host/ZxHost.h"

#include <cstdio>

#include "host/Cp1252.h"

namespace {
TZxHost* gActive = nullptr;
}

TZxHost::TZxHost(const TPlugInApi& api) : FApi(api) { gActive = this; }

TZxHost::~TZxHost() {
  if (gActive == this) gActive = nullptr;
}

// ---- the routines handed to the plug-in ----------------------------------

bool TZxHost::AddAction(std::int32_t number, const char* name, const char* description,
                        const std::uint8_t* kinds, std::int32_t numberAgain, std::uint8_t count) {
  if (!gActive) return false;
  TRegisteredEntry entry;
  entry.number = number;
  entry.name = name ? name : "";
  entry.description = description ? description : "";
  if (kinds) entry.kinds.assign(kinds, kinds + (count ? count : 1));
  entry.numberAgain = numberAgain;
  entry.count = count;
  gActive->FEntries.push_back(entry);
  gActive->FAdded.push_back(entry);
  return true;
}

bool TZxHost::SetVar(const char* name, const char* value) {
  if (!gActive || !name) return false;
  const std::string text = value ? value : "";
  gActive->FVariables[name] = text;
  gActive->FSets.push_back({name, text});
  return true;
}

bool TZxHost::InterfaceAccess(std::int32_t, char**) {
  // No variable picker without a user interface: nothing is offered.
  if (gActive) ++gActive->FInterfaceCalls;
  return false;
}

// ---- start-up ---------------------------------------------------------------

void TZxHost::Register() {
  FEntries.clear();
  FApi.RegisterPlugIn(&AddAction, nullptr, nullptr, &SetVar);
}

void TZxHost::Init() {
  char* texts[3] = {nullptr, nullptr, nullptr};
  FApi.InitPlugIn(0, &texts[0], &texts[1], &texts[2]);
  FName = texts[0] ? texts[0] : "";
  FAuthor = texts[1] ? texts[1] : "";
  FHint = texts[2] ? texts[2] : "";
  for (char*& text : texts) DisposeHostString(text);
}

void TZxHost::Start() {
  Register();
  Init();
  FApi.RegisterScriptProcessor(nullptr);
  FApi.RegisterInterfaceAccess(&InterfaceAccess);
  FApi.Message(1);
  ClearLog();
}

// ---- running ------------------------------------------------------------------

bool TZxHost::ExecAction(std::int32_t action, const std::vector<std::optional<std::string>>& params) {
  std::vector<char*> blocks;
  for (const auto& param : params) blocks.push_back(param ? NewHostString(*param) : nullptr);
  blocks.push_back(nullptr);
  const bool result = FApi.ExecAction(action, blocks.data());
  for (char*& block : blocks) DisposeHostString(block);
  return result;
}

TZxHost::TEdited TZxHost::EditAction(std::int32_t action, const std::vector<std::optional<std::string>>& params) {
  std::vector<char*> blocks;
  for (const auto& param : params) blocks.push_back(param ? NewHostString(*param) : nullptr);
  blocks.push_back(nullptr);
  const std::vector<char*> before = blocks;
  TEdited edited;
  edited.result = FApi.EditAction(action, blocks.data());
  for (std::size_t i = 0; i < params.size(); ++i) {
    edited.texts.push_back(blocks[i] ? std::optional<std::string>(blocks[i]) : std::nullopt);
    edited.fresh.push_back(blocks[i] != before[i]);
  }
  for (char*& block : blocks) DisposeHostString(block);
  return edited;
}

bool TZxHost::ExecCommand(const std::string& number, const std::vector<std::string>& args) {
  if (!FApi.Exec) return false;
  std::intptr_t a[3] = {0, 0, 0};
  for (std::size_t i = 0; i < args.size() && i < 3; ++i) a[i] = reinterpret_cast<std::intptr_t>(args[i].c_str());
  return FApi.Exec(reinterpret_cast<std::intptr_t>(""), reinterpret_cast<std::intptr_t>(number.c_str()),
                   a[0], a[1], a[2], 0, 0, 0, 0, 0, 0, 0);
}

std::optional<std::string> TZxHost::CommandList(const std::string& form) {
  if (!FApi.CmdList) return std::nullopt;
  std::string buffer(4096, '\0');
  if (FApi.CmdList("", form.c_str(), buffer.data()) == 0) return std::nullopt;
  return std::string(buffer.c_str());
}

const TRegisteredEntry* TZxHost::FindAction(const std::string& name) const {
  for (const auto& entry : FEntries)
    if (entry.number != 0 && entry.name == name) return &entry;
  return nullptr;
}

void TZxHost::ClearLog() {
  FSets.clear();
  FAdded.clear();
  FInterfaceCalls = 0;
}

bool TZxHost::ErrorSet() const {
  for (const auto& set : FSets)
    if (set.name == "[LastError]") return true;
  return false;
}

// ---- reports ----------------------------------------------------------------

std::string DisplayText(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (c == '"' || c == '\\') out += std::string("\\") + c;
    else if (IsControlByte(byte)) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    } else {
      out += Cp1252ToUtf8(std::string_view(&c, 1));
    }
  }
  return out + "\"";
}

std::string KindName(std::uint8_t kind) {
  switch (kind) {
    case ParamKindText: return "text";
    case ParamKindVariable: return "variable";
    default: return std::to_string(kind);
  }
}

void PrintInfo(const TZxHost& host, std::ostream& out) {
  out << "name    " << DisplayText(host.Name()) << "\n"
      << "author  " << DisplayText(host.Author()) << "\n"
      << "hint    " << DisplayText(host.Hint()) << "\n";
  for (const auto& entry : host.Entries()) {
    if (entry.number == 0) {
      out << "group   " << DisplayText(entry.name) << "\n";
      continue;
    }
    out << "  action " << entry.number << " " << DisplayText(entry.name) << " (";
    for (std::size_t i = 0; i < entry.kinds.size() && i < entry.count; ++i)
      out << (i ? ", " : "") << KindName(entry.kinds[i]);
    out << ")\n    " << DisplayText(entry.description) << "\n";
  }
}

void PrintVariablesSet(const TZxHost& host, std::ostream& out) {
  if (host.VariablesSet().empty()) out << "(no variable set)\n";
  for (const auto& set : host.VariablesSet()) out << Cp1252ToUtf8(set.name) << " = " << DisplayText(set.value) << "\n";
}
