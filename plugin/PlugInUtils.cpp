#include "plugin/PlugInUtils.h"

#include <cstring>

#include "plugin/HostCall.h"
#include "plugin/Platform.h"
#include "runtime/FloatEnv.h"

TAddActionProc AddActionProc = nullptr;
TSetVarProc SetVarProc = nullptr;
TInterfaceAccessProc InterfaceAccessProc = nullptr;
void* ScriptProcessorProc = nullptr;

// ---- calls into the host ------------------------------------------------

namespace {

// The guard of the export running on this thread, whose saved settings a
// host call runs under. On ELF it lives in the static TLS block that the
// loader sets aside for libraries opened later: reaching it needs no
// __tls_get_addr call, and leak checkers that guess the extent of
// dynamically allocated TLS blocks from the bytes before them (GCC 12's
// does) never scan ours.
#if defined(__ELF__)
#define VKT_STATIC_TLS __attribute__((tls_model("initial-exec")))
#else
#define VKT_STATIC_TLS
#endif
thread_local const TFloatEnvGuard* tHostGuard VKT_STATIC_TLS = nullptr;

template <typename F>
bool CallHost(F&& call) {
  if (!tHostGuard) return call();
  const TForeignCallScope hostSettings(*tHostGuard);
  return call();
}

}  // namespace

THostFrame::THostFrame(const TFloatEnvGuard& guard) noexcept : FOuter(tHostGuard) { tHostGuard = &guard; }

THostFrame::~THostFrame() { tHostGuard = FOuter; }

bool CallAddAction(std::int32_t number, const std::string& name, const std::string& description,
                   const std::uint8_t* kinds, std::int32_t numberAgain, std::uint8_t count) {
  if (!AddActionProc) return false;
  return CallHost([&] {
    return VKT_HOST_CALL(AddActionProc, number, name.c_str(), description.c_str(), kinds, numberAgain, count);
  });
}

bool CallSetVar(const std::string& name, const std::string& value) {
  if (!SetVarProc) return false;
  return CallHost([&] { return VKT_HOST_CALL(SetVarProc, name.c_str(), value.c_str()); });
}

bool CallInterfaceAccess(std::int32_t command, char** variable) {
  if (!InterfaceAccessProc) return false;
  return CallHost([&] { return VKT_HOST_CALL(InterfaceAccessProc, command, variable); });
}

// ---- host strings --------------------------------------------------------

namespace {

THostAllocator gAlloc = HostBlockAlloc;

}  // namespace

THostAllocator SetHostAllocator(THostAllocator alloc) {
  const THostAllocator old = gAlloc;
  gAlloc = alloc ? alloc : HostBlockAlloc;
  return old;
}

void HostFree(void* block) { HostBlockFree(block); }

std::string_view HostStringText(const char* var) { return var ? std::string_view(var) : std::string_view(); }

bool SetHostString(char*& var, std::string_view text) {
  char* copy = static_cast<char*>(gAlloc(text.size() + 1));
  if (!copy) return false;
  if (!text.empty()) std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  FreeHostString(var);
  var = copy;
  return true;
}

void FreeHostString(char*& var) {
  if (var) HostFree(var);
  var = nullptr;
}
