// Built both natively and for Windows: prints the number texts of a fixed
// list of values and texts, and checks the floating-point guard under the
// two host control words. The test script runs both builds and compares the
// outputs line by line, so the Windows build cannot drift from the native
// one in how numbers are written and read.
//
// Usage: float_probe            the report (exit status 1 on a failed check)
//        float_probe trap       an unguarded 1/0 under control word 0x1332:
//                               ends the process where x87 faults trap

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "calc/CalcExpress.h"
#include "calc/NumberText.h"
#include "runtime/Exception.h"
#include "runtime/FloatEnv.h"
#include "tests/plugin/FloatState.h"

namespace {

volatile long double gZero = 0, gOne = 1, gMinusFour = -4, gBig = 12000;

int gFailed = 0;

void Report(bool ok, const std::string& what) {
  std::printf("%-6s %s\n", ok ? "ok" : "FAIL", what.c_str());
  if (!ok) ++gFailed;
}

// One faulting computation under the guard: the fault is seen in the flags,
// nothing traps, and the caller's state is back afterwards.
void GuardedFault(const char* name, unsigned want, long double (*compute)()) {
  const TFloatState before = ReadFloat();
  unsigned raised = 0;
  {
    TFloatEnvGuard guard;
    volatile long double r = compute();
    (void)r;
    raised = TFloatEnvGuard::Raised();
  }
  const TFloatState after = ReadFloat();
  const bool same = before.control == after.control && before.status == after.status &&
                    before.mxcsr == after.mxcsr;
  Report((raised & want) != 0 && same, std::string(name) + (same ? "" : " (state changed)"));
}

void Guards(const char* host, std::uint16_t control, std::uint32_t mxcsr) {
  std::printf("-- guard under %s\n", host);
  const TFloatState saved = ReadFloat();
  WriteFloat(control, mxcsr);
  GuardedFault("1/0", TFloatEnvGuard::kZeroDivide, [] { return gOne / gZero; });
  GuardedFault("ln(0)", TFloatEnvGuard::kZeroDivide, [] { return std::log(gZero); });
  GuardedFault("exp(12000)", TFloatEnvGuard::kOverflow, [] { return std::exp(gBig); });
  GuardedFault("sqrt(-4)", TFloatEnvGuard::kInvalid, [] { return std::sqrt(gMinusFour); });
  // The conversions guard themselves.
  const TFloatState before = ReadFloat();
  std::string text;
  try {
    text = NumberToText(1.0L / 3) + " " + NumberToText(TextToNumber("2.5e3"));
  } catch (const Exception& e) {
    text = e.Message();
  }
  const TFloatState after = ReadFloat();
  Report(before.control == after.control && before.mxcsr == after.mxcsr &&
             before.status == after.status,
         "number text keeps the state (" + text + ")");
  WriteFloat(saved.control, saved.mxcsr);
}

void Texts() {
  std::printf("-- number to text\n");
  const long double values[] = {0.0L, -0.0L, 1.0L, -1.0L, 0.1L, 1.0L / 3, 2.0L / 3, 0.5L, 2.5L, 1e15L,
                                999999999999999.0L, 1e-4L, 9.99999999999999e-5L, 1.5e-5L, 123456789012345678.0L,
                                1e20L, 3.14159265358979323846L, 2.71828182845904523536L, 1e300L * 1e300L,
                                1e-4000L, std::numeric_limits<long double>::max(),
                                std::numeric_limits<long double>::denorm_min(), 12.5L * 2, 861.666288443286L,
                                -7.0e-10L, 4294967296.0L, 1.0L / 7};
  for (long double v : values) {
    std::string text;
    try {
      text = NumberToText(v);
    } catch (const Exception& e) {
      text = "error: " + e.Message();
    }
    std::printf("%s\n", text.c_str());
  }
  std::printf("-- text to number\n");
  const char* const texts[] = {"12.5",  "1e400", "  3 ", "1,5",  "0.1e-3", "-0",     "4e-4951", "1.18973149535723176502e+4932",
                               "1e4933", "",      ".5",   "5.",   "+7",     "1e",     "0x10",    "123456789012345678901234567890"};
  for (const char* t : texts) {
    std::string text;
    try {
      text = NumberToText(TextToNumber(t));
    } catch (const Exception& e) {
      text = "error: " + e.Message();
    }
    std::printf("\"%s\" -> %s\n", t, text.c_str());
  }
}

// A caller whose own arithmetic left the division-by-zero flag raised (with
// the fault masked, so nothing trapped) gets the errors of its formulas, not
// its own flag reported as ours, and keeps the flag.
void PendingFlags() {
  std::printf("-- caller with a pending division-by-zero flag\n");
  const TFloatState saved = ReadFloat();
  WriteFloat(0x027F, 0x1F80);
  volatile long double r = gOne / gZero;
  (void)r;
  const TFloatState before = ReadFloat();
  struct { const char* formula; const char* want; } const cases[] = {
      {"2*x", "Variable without a value."},
      {"1e5000", "'1e5000' ist kein g\xFCltiger Gleitkommawert"},
      {"1/0", "Gleitkommadivision durch Null"},
      {"2+1", "3"}};
  for (const auto& c : cases) {
    std::string got;
    try {
      TCalcExpress calc;
      calc.SetVariables({"y"});
      calc.SetFormula(c.formula);
      got = NumberToText(calc.Calculate({}));
    } catch (const Exception& e) {
      got = e.Message();
    }
    Report(got == c.want, std::string(c.formula) + " -> " + got);
  }
  const TFloatState after = ReadFloat();
  Report((before.status & 0x04) && after.status == before.status, "the caller's flag stays raised");
  WriteFloat(saved.control, saved.mxcsr);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "trap") {
    WriteFloat(0x1332, 0x1F80);
    volatile long double r = gOne / gZero;
    __asm__ volatile("fwait");
    std::printf("no trap (%s)\n", std::isinf(static_cast<double>(r)) ? "inf" : "?");
    WriteFloat(0x027F, 0x1F80);
    return 0;
  }
  SetDecimalSeparator('.');
  Texts();
  Guards("0x1332", 0x1332, 0x1D20);
  Guards("0x027F", 0x027F, 0x1F80);
  PendingFlags();
  std::printf("%s\n", gFailed ? "some checks failed" : "all checks passed");
  return gFailed ? 1 : 0;
}
