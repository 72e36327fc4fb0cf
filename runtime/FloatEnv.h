#pragma once
// The floating-point environment guard.
//
// Every public entry of the system computes under the standard settings:
// 64-bit significand, round to nearest, every exception masked, so that no
// hardware trap can fire whatever the caller had set. Division by zero,
// invalid operation and overflow are then found from the sticky status flags
// and reported as errors. On the way out, normal or by exception, the
// caller's control words and status flags are put back exactly.
//
// The common case (caller already at the standard settings, no flags raised)
// costs a few register reads, so the guard can sit on hot paths.

#include <cstdint>
#if !(defined(__i386__) || defined(__x86_64__))
#include <cfenv>
#endif

class TFloatEnvGuard {
public:
  TFloatEnvGuard() noexcept;
  ~TFloatEnvGuard();
  TFloatEnvGuard(const TFloatEnvGuard&) = delete;
  TFloatEnvGuard& operator=(const TFloatEnvGuard&) = delete;

  // Faults raised since the guard was entered (or since the last clear).
  enum : unsigned { kInvalid = 1, kZeroDivide = 4, kOverflow = 8, kFaults = kInvalid | kZeroDivide | kOverflow };
  static unsigned Raised() noexcept;
  static void Clear() noexcept;
  // Throws EZeroDivide, EInvalidOp or EOverflow for a raised fault (in that
  // order of precedence) and clears the flags; does nothing when none is raised.
  static void Check();
  // Throws the error that matches the given fault bits (at least one set).
  [[noreturn]] static void Throw(unsigned faults);

private:
  friend class TForeignCallScope;

  std::uint16_t FControl = 0;  // x87 control word of the caller
  std::uint16_t FStatus = 0;   // x87 status word of the caller
  std::uint32_t FMxcsr = 0;    // SSE control/status of the caller
  bool FHasSse = false;
#if !(defined(__i386__) || defined(__x86_64__))
  std::fenv_t FEnv;
#endif
};

// Lends the floating-point unit back to the caller of a guard for a call
// into the caller's own code from inside it (a host routine): that code runs
// under the control words the caller had, as it expects, with every flag
// cleared first so that nothing pending traps on the way in. Afterwards the
// guard's settings and fault flags are back as they were; flags the foreign code
// raised are its own business and never become faults of ours.
class TForeignCallScope {
public:
  explicit TForeignCallScope(const TFloatEnvGuard& caller) noexcept;
  ~TForeignCallScope();
  TForeignCallScope(const TForeignCallScope&) = delete;
  TForeignCallScope& operator=(const TForeignCallScope&) = delete;

private:
  std::uint16_t FControl = 0;
  std::uint16_t FStatus = 0;
  std::uint32_t FMxcsr = 0;
  bool FHasSse = false;
#if !(defined(__i386__) || defined(__x86_64__))
  std::fenv_t FEnv;
#endif
};
