#include "runtime/FloatEnv.h"

#include "runtime/Exception.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <cstring>

namespace {

constexpr std::uint16_t kStandardControl = 0x037F;  // 64-bit precision, nearest, all masked
constexpr std::uint32_t kStandardMxcsr = 0x1F80;    // all masked, nearest, no flush to zero
constexpr std::uint16_t kStatusFlags = 0x00FF;      // exception flags, stack fault, summary
constexpr std::uint16_t kStatusTop = 0x3800;        // register stack top: never ours to restore

// The 28-byte protected-mode image that fnstenv/fldenv use.
struct X87Env {
  std::uint16_t control, pad0, status, pad1, tags, pad2;
  std::uint32_t rest[4];
};

bool HasSse() {
#if defined(__x86_64__)
  return true;
#else
  static const bool has = [] {
    unsigned a, b, c, d;
    return __get_cpuid(1, &a, &b, &c, &d) && (d & bit_SSE);
  }();
  return has;
#endif
}

inline std::uint16_t ReadControl() { std::uint16_t cw; __asm__ volatile("fnstcw %0" : "=m"(cw)); return cw; }
inline void WriteControl(std::uint16_t cw) { __asm__ volatile("fldcw %0" : : "m"(cw)); }
inline std::uint16_t ReadStatus() { std::uint16_t sw; __asm__ volatile("fnstsw %0" : "=am"(sw)); return sw; }
inline void ClearStatus() { __asm__ volatile("fnclex"); }
inline std::uint32_t ReadMxcsr() { std::uint32_t m; __asm__ volatile("stmxcsr %0" : "=m"(m)); return m; }
inline void WriteMxcsr(std::uint32_t m) { __asm__ volatile("ldmxcsr %0" : : "m"(m)); }

// Puts back control word and status flags in one go, through an environment
// image made here: storing the current one first would cost as much again
// as loading it. The image's tag word marks every register empty, which is
// true wherever this runs: it is a call of its own (hence noinline), the
// x87 stack is empty at every call, even on the way out of a function that
// returns a long double, and the clobbers tell the compiler so. The
// register stack top stays as it is; the last instruction and operand
// pointers, ours anyway, become zero.
[[gnu::noinline]] void RestoreX87(std::uint16_t control, std::uint16_t status) {
  constexpr std::uint16_t kAllEmpty = 0xFFFF;
  const X87Env env{control, 0, static_cast<std::uint16_t>((status & ~kStatusTop) | (ReadStatus() & kStatusTop)), 0,
                   kAllEmpty, 0, {}};
  __asm__ volatile("fldenv %0" : : "m"(env) : "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)");
}

}  // namespace

TFloatEnvGuard::TFloatEnvGuard() noexcept {
  FControl = ReadControl();
  FStatus = ReadStatus();
  if (FStatus & kStatusFlags) ClearStatus();
  if (FControl != kStandardControl) WriteControl(kStandardControl);
  FHasSse = HasSse();
  if (FHasSse) {
    FMxcsr = ReadMxcsr();
    if (FMxcsr != kStandardMxcsr) WriteMxcsr(kStandardMxcsr);
  }
}

TFloatEnvGuard::~TFloatEnvGuard() {
  // Our arithmetic leaves flags and condition codes behind. When only flags
  // the caller did not have are left, a clear does; otherwise the status word
  // can only be written whole, through the environment image.
  const std::uint16_t status = ReadStatus() & ~kStatusTop;
  const std::uint16_t callerStatus = FStatus & ~kStatusTop;
  if (status != callerStatus && (callerStatus != (status & ~kStatusFlags) || (callerStatus & kStatusFlags))) {
    RestoreX87(FControl, FStatus);
  } else {
    if (status != callerStatus) ClearStatus();  // before the control word may unmask
    if (ReadControl() != FControl) WriteControl(FControl);
  }
  if (FHasSse && ReadMxcsr() != FMxcsr) WriteMxcsr(FMxcsr);
}

unsigned TFloatEnvGuard::Raised() noexcept {
  unsigned flags = ReadStatus();
  if (HasSse()) flags |= ReadMxcsr();
  return flags & kFaults;
}

void TFloatEnvGuard::Clear() noexcept {
  ClearStatus();
  if (HasSse()) {
    const std::uint32_t m = ReadMxcsr();
    if (m & 0x3F) WriteMxcsr(m & ~0x3Fu);
  }
}

// Each setting is written only when it differs: a load of the control word
// or of MXCSR costs more than reading it back.
TForeignCallScope::TForeignCallScope(const TFloatEnvGuard& caller) noexcept {
  FControl = ReadControl();
  FStatus = ReadStatus();
  ClearStatus();  // before the caller's word may unmask a pending flag
  if (FControl != caller.FControl) WriteControl(caller.FControl);
  FHasSse = caller.FHasSse;
  if (FHasSse) {
    FMxcsr = ReadMxcsr();
    const std::uint32_t callers = caller.FMxcsr & ~0x3Fu;
    if (FMxcsr != callers) WriteMxcsr(callers);
  }
}

TForeignCallScope::~TForeignCallScope() {
  ClearStatus();  // the foreign code's flags, before our word comes back
  // Of our own flags only the faults are ever looked at (Raised), and only
  // they are put back: the whole environment costs many times a clear, and
  // the inexact flag is up after nearly any arithmetic.
  if (FStatus & TFloatEnvGuard::kFaults)
    RestoreX87(FControl, FStatus);
  else if (ReadControl() != FControl)
    WriteControl(FControl);
  if (FHasSse && ReadMxcsr() != FMxcsr) WriteMxcsr(FMxcsr);
}

#else  // other processors: the C library's view of the environment

#include <cfenv>

TFloatEnvGuard::TFloatEnvGuard() noexcept {
  std::fegetenv(&FEnv);
  std::fesetenv(FE_DFL_ENV);
}

TFloatEnvGuard::~TFloatEnvGuard() { std::fesetenv(&FEnv); }

unsigned TFloatEnvGuard::Raised() noexcept {
  const int f = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
  return ((f & FE_INVALID) ? kInvalid : 0) | ((f & FE_DIVBYZERO) ? kZeroDivide : 0) |
         ((f & FE_OVERFLOW) ? kOverflow : 0);
}

void TFloatEnvGuard::Clear() noexcept { std::feclearexcept(FE_ALL_EXCEPT); }

TForeignCallScope::TForeignCallScope(const TFloatEnvGuard& caller) noexcept {
  std::fegetenv(&FEnv);
  std::fesetenv(&caller.FEnv);
  std::feclearexcept(FE_ALL_EXCEPT);
}

TForeignCallScope::~TForeignCallScope() { std::fesetenv(&FEnv); }

#endif

void TFloatEnvGuard::Check() {
  const unsigned faults = Raised();
  if (faults) Throw(faults);
}

void TFloatEnvGuard::Throw(unsigned faults) {
  Clear();
  if (faults & kZeroDivide) throw EZeroDivide();
  if (faults & kInvalid) throw EInvalidOp();
  throw EOverflow();
}
