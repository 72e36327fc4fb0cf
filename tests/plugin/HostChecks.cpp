#include "tests/plugin/HostChecks.h"

#include <cstdio>

#if defined(_WIN32)
#include <windows.h>
#else
#include <pthread.h>
#endif

#include "tests/plugin/FloatState.h"

namespace {

struct TSet {
  std::string name, value;
  bool operator==(const TSet&) const = default;
};

// What the host routines are to do, and what they saw, during one export.
struct THostLog {
  bool raiseFlags = false;
  std::uint32_t code = 0;  // structured exception to raise; 0: none
  int failingCall = 0;
  int calls = 0;
  int adds = 0;
  int raised = 0, cleanedUp = 0;  // exceptions raised in the host's own frame, and that frame unwound
  std::vector<TFloatState> seen;  // the state at the start of each call
  std::vector<TSet> sets;
};
THostLog gLog;

volatile long double gZero = 0, gOne = 1;
volatile double gDoubleZero = 0;

std::string Hex(std::uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*lX", digits, static_cast<unsigned long>(value));
  return text;
}

std::string Describe(const TFloatState& s) {
  return Hex(s.control, 4) + "/" + Hex(s.status, 4) + "/" + Hex(s.mxcsr, 8);
}

bool Same(const TFloatState& a, const TFloatState& b) {
  return a.control == b.control && a.status == b.status && a.mxcsr == b.mxcsr;
}

#if defined(_WIN32)
// The faults a host's own code can run into, raised for real where the
// processor does so; where it does not (x87 faults under an emulated FPU do
// not trap), raised by hand, so that every machine sees the same case.
void Raise(std::uint32_t code) {
  int* volatile nowhere = nullptr;  // volatile pointer: a plain null store compiles to a trap instruction
  volatile int zero = 0;
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION: *nowhere = 1; break;
    case EXCEPTION_INT_DIVIDE_BY_ZERO: zero = 1 / zero; break;
    case EXCEPTION_FLT_DIVIDE_BY_ZERO: {
      volatile long double r = gOne / gZero;  // the host's word unmasks it
      __asm__ volatile("fwait");
      (void)r;
      __asm__ volatile("fnclex");
      break;
    }
    default: break;
  }
  RaiseException(code, 0, 0, nullptr);
}

// The host's clean-up of its own frame (what its try/finally would be): a
// structured-exception record whose handler the unwind must call when the
// plug-in's call takes the exception.
extern "C" EXCEPTION_DISPOSITION HostCleanUp(EXCEPTION_RECORD* record, void*, CONTEXT*, void*) {
  if (record->ExceptionFlags & EXCEPTION_UNWINDING) ++gLog.cleanedUp;
  return ExceptionContinueSearch;
}

void RaiseInOwnFrame(std::uint32_t code) {
  NT_TIB* tib;
  __asm__("movl %%fs:0x18, %0" : "=r"(tib));  // the thread's information block
  EXCEPTION_REGISTRATION_RECORD frame{};
  frame.Next = tib->ExceptionList;
  frame.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(&HostCleanUp);
  tib->ExceptionList = &frame;
  ++gLog.raised;
  Raise(code);
  tib->ExceptionList = frame.Next;  // not reached
}
#endif

void Enter() {
  gLog.seen.push_back(ReadFloat());
  ++gLog.calls;
  if (gLog.raiseFlags) {
    volatile long double x87 = gZero / gZero;
    volatile double sse = gDoubleZero / gDoubleZero;
    (void)x87;
    (void)sse;
  }
#if defined(_WIN32)
  if (gLog.code && (gLog.failingCall == 0 || gLog.failingCall == gLog.calls)) RaiseInOwnFrame(gLog.code);
#endif
}

bool AddAction(std::int32_t, const char*, const char*, const std::uint8_t*, std::int32_t, std::uint8_t) {
  Enter();
  ++gLog.adds;
  return true;
}

bool SetVar(const char* name, const char* value) {
  Enter();
  gLog.sets.push_back({name ? name : "", value ? value : ""});
  return true;
}

int gParamsChanged = 0;  // parameter blocks the plug-in replaced or changed

bool Exec(const TPlugInApi& api, std::int32_t action, const std::vector<std::string>& texts) {
  std::vector<char*> blocks;
  for (const std::string& text : texts) blocks.push_back(NewHostString(text));
  blocks.push_back(nullptr);
  const std::vector<char*> handed = blocks;
  const bool result = api.ExecAction(action, blocks.data());
  for (std::size_t i = 0; i < texts.size(); ++i)
    if (blocks[i] != handed[i] || texts[i] != blocks[i]) ++gParamsChanged;
  for (char*& block : blocks) DisposeHostString(block);
  return result;
}

// One export under the host's state, with a fresh log; the state must be
// the host's again afterwards.
class TExports {
public:
  TExports(std::uint16_t control, std::uint32_t mxcsr, std::vector<std::string>& failures)
      : FSaved(ReadFloat()), FFailures(failures) {
    WriteFloat(control, mxcsr);
    FHost = ReadFloat();  // as the processor reads the words back
  }
  ~TExports() { WriteFloat(FSaved.control, FSaved.mxcsr); }

  const TFloatState& Host() const { return FHost; }

  template <typename F>
  void Run(const std::string& what, F&& call) {
    FWhat = what;
    const bool raiseFlags = gLog.raiseFlags;
    const std::uint32_t code = gLog.code;
    const int failingCall = gLog.failingCall;
    gLog = THostLog{};
    gLog.raiseFlags = raiseFlags;
    gLog.code = code;
    gLog.failingCall = failingCall;
    gParamsChanged = 0;
    call();
    const TFloatState after = ReadFloat();
    if (gParamsChanged) Fail(std::to_string(gParamsChanged) + " parameter blocks changed");
    if (gLog.cleanedUp != gLog.raised)
      Fail("the host's own frame was unwound " + std::to_string(gLog.cleanedUp) + " times for " +
           std::to_string(gLog.raised) + " exceptions");
    if (!Same(after, FHost)) {
      Fail("host state " + Describe(FHost) + " became " + Describe(after));
      WriteFloat(FHost.control, FHost.mxcsr);
    }
  }

  void Fail(const std::string& text) { FFailures.push_back(FWhat + ": " + text); }

  void ExpectSets(const std::vector<TSet>& want) {
    if (gLog.sets == want) return;
    std::string got;
    for (const TSet& s : gLog.sets) got += " " + s.name + "=\"" + s.value + "\"";
    Fail("variables set:" + (got.empty() ? std::string(" none") : got));
  }

private:
  TFloatState FSaved, FHost;
  std::vector<std::string>& FFailures;
  std::string FWhat;
};

const std::string kLastError = "[LastError]";

}  // namespace

std::vector<std::string> CheckHostSettingsSeen(const TPlugInApi& api, std::uint16_t control, std::uint32_t mxcsr,
                                               bool raiseFlags) {
  std::vector<std::string> failures;
  TExports exports(control, mxcsr, failures);
  gLog.raiseFlags = raiseFlags;
  const TFloatState host = exports.Host();
  auto expectHostSettings = [&] {
    for (const TFloatState& s : gLog.seen)
      if (s.control != host.control || (s.status & 0xFF) != 0 || s.mxcsr != (host.mxcsr & ~0x3Fu))
        exports.Fail("a host routine ran under " + Describe(s));
  };
  exports.Run("zxRegisterPlugIn", [&] { api.RegisterPlugIn(&AddAction, nullptr, nullptr, &SetVar); });
  if (gLog.adds != 4) exports.Fail(std::to_string(gLog.adds) + " actions and groups added");
  expectHostSettings();
  exports.Run("calc", [&] { Exec(api, 1, {"2+3", "r"}); });
  exports.ExpectSets({{"[r]", "5"}});
  expectHostSettings();
  exports.Run("diff", [&] { Exec(api, 2, {"x^2", "x", "d"}); });
  exports.ExpectSets({{"[d]", "2*x"}});
  expectHostSettings();
  exports.Run("calc 1/0", [&] { Exec(api, 1, {"1/0", "r"}); });
  exports.ExpectSets({{kLastError, "Error in formula"}});
  expectHostSettings();
  gLog.raiseFlags = false;
  return failures;
}

namespace {

constexpr int kTerms = 1000;
// The plug-in needs far less; a sanitizer's red zones need more.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kSmallStack = 256 * 1024;
#else
constexpr std::size_t kSmallStack = 64 * 1024;
#endif

void RunBothActions(const TPlugInApi* api) {
  std::string sum = "1", terms = "x";
  for (int i = 1; i < kTerms; ++i) {
    sum += "+1";
    terms += "+x";
  }
  Exec(*api, 1, {sum, "r"});
  Exec(*api, 2, {terms, "x", "d"});
}

#if defined(_WIN32)
DWORD WINAPI SmallStackThread(void* api) {
  RunBothActions(static_cast<const TPlugInApi*>(api));
  return 0;
}

bool OnSmallStack(const TPlugInApi& api) {
  HANDLE thread = CreateThread(nullptr, kSmallStack, SmallStackThread, const_cast<TPlugInApi*>(&api),
                               STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (!thread) return false;
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  return true;
}
#else
void* SmallStackThread(void* api) {
  RunBothActions(static_cast<const TPlugInApi*>(api));
  return nullptr;
}

bool OnSmallStack(const TPlugInApi& api) {
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, kSmallStack);
  pthread_t thread;
  const bool started = pthread_create(&thread, &attr, SmallStackThread, const_cast<TPlugInApi*>(&api)) == 0;
  pthread_attr_destroy(&attr);
  if (started) pthread_join(thread, nullptr);
  return started;
}
#endif

}  // namespace

std::vector<std::string> CheckSmallStack(const TPlugInApi& api) {
  std::vector<std::string> failures;
  TExports exports(0x027F, 0x1F80, failures);
  exports.Run("zxRegisterPlugIn", [&] { api.RegisterPlugIn(&AddAction, nullptr, nullptr, &SetVar); });
  const TFloatState host = exports.Host();
  exports.Run("both actions on a small stack", [&] {
    if (!OnSmallStack(api)) exports.Fail("no thread");
    WriteFloat(host.control, host.mxcsr);  // the thread's state is its own
  });
  exports.ExpectSets({{"[r]", std::to_string(kTerms)}, {"[d]", std::to_string(kTerms)}});
  return failures;
}

#if defined(_WIN32)
std::vector<std::string> CheckHostExceptions(const TPlugInApi& api, std::uint16_t control, std::uint32_t mxcsr,
                                             std::uint32_t code, int failingCall) {
  std::vector<std::string> failures;
  TExports exports(control, mxcsr, failures);
  gLog.code = code;
  gLog.failingCall = failingCall;
  const std::string hostError = "Host routine ended by exception " + Hex(code, 8) + ".";
  auto pick = [&](std::vector<TSet> first, std::vector<TSet> later) {
    return failingCall == 1 ? first : failingCall == 2 ? later : std::vector<TSet>{};
  };

  exports.Run("zxRegisterPlugIn", [&] { api.RegisterPlugIn(&AddAction, nullptr, nullptr, &SetVar); });
  const int wantAdds = failingCall == 0 ? 0 : failingCall - 1;  // the failing call ends the registration
  if (gLog.adds != wantAdds) exports.Fail(std::to_string(gLog.adds) + " actions and groups added");
  exports.Run("calc", [&] { Exec(api, 1, {"2+3", "r"}); });
  exports.ExpectSets(pick({{kLastError, "Error in formula"}}, {{"[r]", "5"}}));
  exports.Run("diff", [&] { Exec(api, 2, {"x^2", "x", "d"}); });
  exports.ExpectSets(pick({{kLastError, hostError}}, {{"[d]", "2*x"}}));
  exports.Run("calc 1/0", [&] { Exec(api, 1, {"1/0", "r"}); });
  exports.ExpectSets(pick({}, {{kLastError, "Error in formula"}}));
  exports.Run("message 1", [&] { api.Message(1); });
  if (gLog.calls != 1 || (failingCall == 2 && gLog.sets.size() != 1)) exports.Fail("the path was not offered once");
  gLog = THostLog{};
  return failures;
}
#endif
