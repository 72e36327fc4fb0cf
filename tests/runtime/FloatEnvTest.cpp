#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "runtime/Exception.h"
#include "runtime/FloatEnv.h"

#if defined(__i386__) || defined(__x86_64__)

namespace {

std::uint16_t Control() { std::uint16_t cw; __asm__ volatile("fnstcw %0" : "=m"(cw)); return cw; }
void SetControl(std::uint16_t cw) { __asm__ volatile("fnclex\n\tfldcw %0" : : "m"(cw)); }
std::uint16_t Status() { std::uint16_t sw; __asm__ volatile("fnstsw %0" : "=am"(sw)); return sw; }
std::uint32_t Mxcsr() { std::uint32_t m; __asm__ volatile("stmxcsr %0" : "=m"(m)); return m; }
void SetMxcsr(std::uint32_t m) { __asm__ volatile("ldmxcsr %0" : : "m"(m)); }

volatile long double gZero = 0, gOne = 1, gMinus = -4, gBig = 12000;

unsigned Fault(int which) {
  TFloatEnvGuard guard;
  volatile long double r = 0;
  switch (which) {
    case 0: r = gOne / gZero; break;
    case 1: r = std::sqrt(gMinus); break;
    case 2: r = std::exp(gBig); break;
    case 3: r = std::log(gZero); break;
  }
  (void)r;
  return TFloatEnvGuard::Raised();
}

// The caller's settings of a host that unmasks the faults (0x1332) or of a
// typical C host (0x027F), each with and without sticky flags of its own.
struct TCallerState { std::uint16_t control; std::uint32_t mxcsr; bool dirty; };

class FloatEnvGuardTest : public ::testing::TestWithParam<TCallerState> {};

TEST_P(FloatEnvGuardTest, ComputesMaskedAndRestoresExactly) {
  const TCallerState s = GetParam();
  const std::uint16_t cw0 = Control();
  const std::uint32_t mx0 = Mxcsr();
  SetMxcsr(s.mxcsr);
  if (s.dirty) { volatile long double u = 1e-4000L; u = u * u; (void)u; }  // underflow flag
  SetControl(s.control);
  if (s.dirty) { volatile long double u = 1e-4000L; u = u * u; (void)u; }
  const std::uint16_t cw = Control(), sw = Status();
  const std::uint32_t mx = Mxcsr();

  EXPECT_EQ(Fault(0), TFloatEnvGuard::kZeroDivide);
  EXPECT_EQ(Fault(1), TFloatEnvGuard::kInvalid);
  EXPECT_NE(Fault(2) & TFloatEnvGuard::kOverflow, 0u);
  EXPECT_EQ(Fault(3), TFloatEnvGuard::kZeroDivide);

  const std::uint16_t cwAfter = Control(), swAfter = Status();
  const std::uint32_t mxAfter = Mxcsr();
  SetControl(cw0);
  SetMxcsr(mx0);
  EXPECT_EQ(cwAfter, cw);
  EXPECT_EQ(swAfter, sw);
  EXPECT_EQ(mxAfter, mx);
}

INSTANTIATE_TEST_SUITE_P(Callers, FloatEnvGuardTest,
                         ::testing::Values(TCallerState{0x1332, 0x1F80, false},
                                           TCallerState{0x1332, 0x1F80, true},
                                           TCallerState{0x027F, 0x1F80, false},
                                           TCallerState{0x037F, 0x1F80, true},
                                           TCallerState{0x027F, 0x9FC0, true}));

TEST(FloatEnvGuard, CheckThrowsTheMatchingError) {
  TFloatEnvGuard guard;
  volatile long double r = gOne / gZero;
  (void)r;
  EXPECT_THROW(TFloatEnvGuard::Check(), EZeroDivide);
  EXPECT_EQ(TFloatEnvGuard::Raised(), 0u);  // Check clears what it reported
  r = gZero / gZero;
  EXPECT_THROW(TFloatEnvGuard::Check(), EInvalidOp);
  EXPECT_NO_THROW(TFloatEnvGuard::Check());
}

// A caller's condition codes (here C1 and C2 from examining -1) are part of
// its status word and come back too, whatever the guarded code compares.
TEST(FloatEnvGuard, KeepsTheCallersConditionCodes) {
  __asm__ volatile("fnclex\n\tfld1\n\tfchs\n\tfxam\n\tfstp %%st(0)" : : : "st");
  const std::uint16_t sw = Status();
  ASSERT_NE(sw & 0x4700, 0);
  for (int which = 0; which < 4; ++which) {
    (void)Fault(which);
    EXPECT_EQ(Status(), sw) << which;
  }
  __asm__ volatile("fnclex\n\tfldz\n\tfxam\n\tfstp %%st(0)" : : : "st");
  const std::uint16_t zeroSw = Status();
  (void)Fault(0);
  EXPECT_EQ(Status(), zeroSw);
}

TEST(FloatEnvGuard, RestoresWhenLeftByException) {
  const std::uint16_t cw0 = Control();
  SetControl(0x1332);
  const std::uint16_t cwHost = Control(), swHost = Status();
  try {
    TFloatEnvGuard guard;
    volatile long double r = gOne / gZero;
    (void)r;
    TFloatEnvGuard::Check();
  } catch (const Exception&) {
  }
  const std::uint16_t cw = Control(), sw = Status();
  SetControl(cw0);
  EXPECT_EQ(cw, cwHost);
  EXPECT_EQ(sw, swHost);
}

// A host routine called from inside a guard runs under the host's words
// with no flag pending (a pending fault would trap under an unmasking word);
// afterwards the guard's words and its own pending faults are back, and
// what the routine raised is not taken for a fault of ours.
TEST(ForeignCallScope, HostRoutineUnderItsOwnWordsFlagsKeptApart) {
  struct Case { std::uint16_t control; std::uint32_t mxcsr; bool oursPending, hostRaises; } cases[] = {
      {0x1332, 0x1D20, true, false},  // unmasked: the host cannot raise without a trap
      {0x027F, 0x1F80, true, true},
      {0x027F, 0x1F80, false, true},
      {0x037F, 0x9FC0, true, true},
  };
  volatile double dZero = 0, dOne = 1;
  for (const Case& c : cases) {
    const std::uint16_t cw0 = Control();
    const std::uint32_t mx0 = Mxcsr();
    SetMxcsr(c.mxcsr);
    SetControl(c.control);
    const std::uint16_t hostCw = Control();
    std::uint16_t ourCw, ourSw, insideCw, insideSw, afterCw, afterSw;
    std::uint32_t ourMx, insideMx, afterMx;
    unsigned raised;
    {
      TFloatEnvGuard guard;
      volatile long double x87 = 0;
      volatile double sse = 0;
      if (c.oursPending) {  // our faults, pending: x87 and SSE division by zero
        x87 = gOne / gZero;
        sse = dOne / dZero;
      }
      ourCw = Control(), ourSw = Status(), ourMx = Mxcsr();
      {
        const TForeignCallScope host(guard);
        insideCw = Control(), insideSw = Status(), insideMx = Mxcsr();
        if (c.hostRaises) {  // the host's own invalid operations
          x87 = gZero / gZero;
          sse = dZero / dZero;
        }
      }
      afterCw = Control(), afterSw = Status(), afterMx = Mxcsr();
      raised = TFloatEnvGuard::Raised();
      TFloatEnvGuard::Clear();
      (void)x87;
      (void)sse;
    }
    SetControl(cw0);
    SetMxcsr(mx0);
    const std::string name = std::to_string(c.control) + (c.oursPending ? " with our faults" : "");
    EXPECT_EQ(insideCw, hostCw) << name;
    EXPECT_EQ(insideSw & 0xFF, 0) << name;
    EXPECT_EQ(insideMx, c.mxcsr & ~0x3Fu) << name;
    EXPECT_EQ(afterCw, ourCw) << name;
    EXPECT_EQ(afterSw, ourSw) << name;
    EXPECT_EQ(afterMx, ourMx) << name;
    EXPECT_EQ(raised, c.oursPending ? TFloatEnvGuard::kZeroDivide : 0u) << name;
  }
}

}  // namespace

#endif
