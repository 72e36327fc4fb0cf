#include "tests/plugin/CaseRunner.h"

#include <cstdint>
#include <cstring>
#include <optional>

#include "host/ZxHost.h"

namespace {

constexpr std::size_t kListBuffer = 4096;
constexpr char kUntouched = '\xAA';

struct TOutcome {
  std::optional<std::int64_t> returned;
  std::optional<std::string> name, author, hint;  // from init
  std::optional<std::string> buffer;              // from list
};

class TCaseRun {
public:
  TCaseRun(const TCase& c, const TPlugInApi& api, const std::string& pluginPath)
      : FCase(c), FApi(api), FHost(api), FPluginPath(pluginPath) {}

  std::vector<std::string> Run() {
    for (const TStep& step : FCase.steps) {
      FHost.ClearLog();
      const TOutcome outcome = Call(step.call);
      Check(step, outcome);
    }
    return FFailures;
  }

private:
  void Failure(int line, const std::string& what) {
    FFailures.push_back(FCase.name + " (line " + std::to_string(line) + "): " + what);
  }

  std::string Expanded(const std::string& text) const {
    std::string out = text;
    for (std::size_t at; (at = out.find("{plugin}")) != std::string::npos;) out.replace(at, 8, FPluginPath);
    return out;
  }

  static std::int64_t Number(const TToken& token) { return std::stoll(token.value, nullptr, 0); }

  // ---- calls -----------------------------------------------------------------

  // Host strings for the texts of a call; checked for changes after it.
  struct TBlocks {
    std::vector<char*> blocks;
    std::vector<std::optional<std::string>> originals;
    explicit TBlocks(const std::vector<TToken>& texts) {
      for (const TToken& t : texts) {
        originals.push_back(t.kind == TToken::Nil ? std::nullopt : std::optional(t.value));
        blocks.push_back(t.kind == TToken::Nil ? nullptr : NewHostString(t.value));
      }
      blocks.push_back(nullptr);
    }
    ~TBlocks() {
      for (char*& b : blocks) DisposeHostString(b);
    }
    bool Unchanged() const {
      for (std::size_t i = 0; i < originals.size(); ++i)
        if (originals[i] ? (!blocks[i] || *originals[i] != blocks[i]) : blocks[i] != nullptr) return false;
      return true;
    }
  };

  TOutcome Call(const TLine& call) {
    TOutcome out;
    const auto& a = call.args;
    auto texts = [&](std::size_t from) { return std::vector<TToken>(a.begin() + static_cast<long>(std::min(from, a.size())), a.end()); };
    if (call.name == "register") {
      FHost.Register();
    } else if (call.name == "init") {
      char* vars[3] = {NewHostString("old"), NewHostString("old"), NewHostString("old")};
      FApi.InitPlugIn(7, &vars[0], &vars[1], &vars[2]);
      out.name = vars[0] ? vars[0] : "(nil)";
      out.author = vars[1] ? vars[1] : "(nil)";
      out.hint = vars[2] ? vars[2] : "(nil)";
      for (char*& v : vars) DisposeHostString(v);
    } else if (call.name == "message" && a.size() == 1) {
      FApi.Message(static_cast<std::int32_t>(Number(a[0])));
    } else if ((call.name == "action" || call.name == "edit") && !a.empty()) {
      TBlocks blocks(texts(1));
      const auto fn = call.name == "action" ? FApi.ExecAction : FApi.EditAction;
      out.returned = fn(static_cast<std::int32_t>(Number(a[0])), blocks.blocks.data());
      if (!blocks.Unchanged()) Failure(call.line, "the plug-in changed the parameter texts");
    } else if (call.name == "about") {
      FApi.About();
    } else if (call.name == "exec" && !a.empty() && a.size() <= 4) {
      TBlocks blocks(a);
      std::intptr_t arg[4] = {};
      for (std::size_t i = 0; i < a.size(); ++i) arg[i] = reinterpret_cast<std::intptr_t>(blocks.blocks[i]);
      char unused[] = "unused";
      out.returned = FApi.Exec(reinterpret_cast<std::intptr_t>(unused), arg[0], arg[1], arg[2], arg[3], 0, 0, 0, 0, 0, 0, 0);
      if (!blocks.Unchanged() || std::strcmp(unused, "unused") != 0)
        Failure(call.line, "the plug-in changed the texts handed to it");
    } else if (call.name == "list" && a.size() == 1) {
      TBlocks form(a);
      std::string buffer(kListBuffer, kUntouched);
      out.returned = FApi.CmdList("", form.blocks[0], buffer.data());
      if (!form.Unchanged()) Failure(call.line, "the plug-in changed the form name");
      const std::size_t zero = buffer.find('\0');
      if (zero != std::string::npos) {
        out.buffer = buffer.substr(0, zero);
        if (buffer.find_first_not_of(kUntouched, zero + 1) != std::string::npos)
          Failure(call.line, "the plug-in wrote beyond the list's terminating zero");
      } else if (buffer.find_first_not_of(kUntouched) != std::string::npos) {
        Failure(call.line, "the list has no terminating zero");
      }
    } else {
      Failure(call.line, "cannot run the step " + call.name);
    }
    return out;
  }

  // ---- checks ----------------------------------------------------------------

  void Check(const TStep& step, const TOutcome& out) {
    std::vector<TVariableSet> sets;
    std::vector<TRegisteredEntry> adds;
    bool checkAdds = false;
    for (const TLine& e : step.expects) {
      const auto& a = e.args;
      if (e.name == "returns" && a.size() == 1) {
        const std::int64_t want = a[0].value == "true" ? 1 : a[0].value == "false" ? 0 : Number(a[0]);
        if (out.returned != want)
          Failure(e.line, "returned " + (out.returned ? std::to_string(*out.returned) : "nothing") +
                              ", expected " + std::to_string(want));
      } else if (e.name == "set" && a.size() == 2) {
        sets.push_back({Expanded(a[0].value), Expanded(a[1].value)});
      } else if (e.name == "add" && a.size() == 6) {
        checkAdds = true;
        adds.push_back(Entry(a));
      } else if ((e.name == "name" || e.name == "author" || e.name == "hint") && a.size() == 1) {
        const auto& got = e.name == "name" ? out.name : e.name == "author" ? out.author : out.hint;
        CompareText(e, e.name, got, Expanded(a[0].value));
      } else if (e.name == "buffer" && a.size() == 1) {
        CompareText(e, "list", out.buffer, a[0].value);
      } else {
        Failure(e.line, "cannot check " + e.name);
      }
    }
    CompareSets(step.call.line, sets);
    if (checkAdds) CompareAdds(step.call.line, adds);
  }

  static TRegisteredEntry Entry(const std::vector<TToken>& a) {
    TRegisteredEntry entry;
    entry.number = static_cast<std::int32_t>(Number(a[0]));
    entry.name = a[1].value;
    entry.description = a[2].value;
    for (std::size_t at = 0; at <= a[3].value.size();) {
      const std::size_t comma = std::min(a[3].value.find(',', at), a[3].value.size());
      entry.kinds.push_back(static_cast<std::uint8_t>(std::stoi(a[3].value.substr(at, comma - at))));
      at = comma + 1;
    }
    entry.numberAgain = static_cast<std::int32_t>(Number(a[4]));
    entry.count = static_cast<std::uint8_t>(Number(a[5]));
    return entry;
  }

  static std::string Describe(const TRegisteredEntry& e) {
    std::string kinds;
    for (auto k : e.kinds) kinds += (kinds.empty() ? "" : ",") + std::to_string(k);
    return std::to_string(e.number) + " " + Escaped(e.name) + " " + Escaped(e.description) + " " + kinds + " " +
           std::to_string(e.numberAgain) + " " + std::to_string(e.count);
  }

  void CompareText(const TLine& e, const std::string& what, const std::optional<std::string>& got,
                   const std::string& want) {
    if (got != want)
      Failure(e.line, what + " is " + (got ? Escaped(*got) : "missing") + ", expected " + Escaped(want));
  }

  void CompareSets(int line, const std::vector<TVariableSet>& want) {
    const auto& got = FHost.VariablesSet();
    bool same = got.size() == want.size();
    for (std::size_t i = 0; same && i < got.size(); ++i)
      same = got[i].name == want[i].name && got[i].value == want[i].value;
    if (same) return;
    std::string text = "variables set:";
    for (const auto& s : got) text += " " + Escaped(s.name) + "=" + Escaped(s.value);
    text += "; expected:";
    for (const auto& s : want) text += " " + Escaped(s.name) + "=" + Escaped(s.value);
    Failure(line, text);
  }

  void CompareAdds(int line, const std::vector<TRegisteredEntry>& want) {
    const auto& got = FHost.EntriesAdded();
    std::string g, w;
    for (const auto& e : got) g += "\n    " + Describe(e);
    for (const auto& e : want) w += "\n    " + Describe(e);
    if (g != w) Failure(line, "entries added:" + g + "\n  expected:" + w);
  }

  const TCase& FCase;
  const TPlugInApi& FApi;
  TZxHost FHost;
  std::string FPluginPath;
  std::vector<std::string> FFailures;
};

}  // namespace

std::vector<std::string> RunCase(const TCase& c, const TPlugInApi& api, const std::string& pluginPath) {
  try {
    return TCaseRun(c, api, pluginPath).Run();
  } catch (const std::exception& e) {
    return {c.name + ": " + e.what()};
  }
}
