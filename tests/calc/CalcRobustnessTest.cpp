#include <gtest/gtest.h>

#include <random>
#include <string>

#include "calc/CalcExpress.h"
#include "runtime/Exception.h"

#ifdef __linux__
#include <cfenv>
#include <pthread.h>
#endif

namespace {

// Feeds formulas of random bytes (every byte but 0) and random token soup
// to one component; any outcome is fine except a crash.
void FeedRandomFormulas() {
  std::mt19937 rng(12345);
  const std::string tokens[] = {"(", ")", "+", "-", "*", "/", "^", "x", "y", "1", "2.5", "e9", "sin(",
                                "h(", "-1", " ", "1e4000", "0", "1e5000", "th(", "ln("};
  TCalcExpress calc;
  calc.SetVariables({"x", "y"});
  const long double values[] = {0.5L, 2};
  auto feed = [&](const std::string& formula) {
    calc.SetFormula(formula);
    try {
      calc.Calculate(values);
    } catch (const Exception&) {
    }
  };
  std::string bytes(1 << 20, ' ');
  for (char& c : bytes) c = static_cast<char>(1 + rng() % 255);
  feed(bytes);
  std::string soup;
  while (soup.size() < (1u << 20)) soup += tokens[rng() % std::size(tokens)];
  feed(soup);
  std::string open(1 << 20, '(');
  feed(open);
  std::string chain = "1";
  while (chain.size() < (1u << 20)) chain += "+sin(x)^2*(y-1)";
  feed(chain);
  calc.SetFormula(chain);
  EXPECT_NO_THROW(calc.Calculate(values));
}

#ifdef __linux__
// The host's main thread on Windows has a 1 MB stack; nothing may need more.
TEST(CalcRobustness, MegabyteFormulasOnMegabyteStack) {
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 1 << 20);
  pthread_t thread;
  auto body = [](void*) -> void* {
    FeedRandomFormulas();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, body, nullptr), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
}

// A caller with unmasked traps and a narrower precision gets errors, not
// signals, and its settings back unchanged.
TEST(CalcRobustness, CallerFloatSettingsKeptAndNoTrap) {
  std::fenv_t saved;
  std::fegetenv(&saved);
  feenableexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
  std::fenv_t before;
  std::fegetenv(&before);
  TCalcExpress calc;
  calc.SetFormula("1/0");
  EXPECT_THROW(calc.Calculate({}), EZeroDivide);
  calc.SetFormula("0/0");
  EXPECT_THROW(calc.Calculate({}), EInvalidOp);
  calc.SetFormula("1e5000");
  EXPECT_THROW(calc.Calculate({}), EConvertError);
  calc.SetFormula("1/3");
  EXPECT_EQ(calc.Calculate({}), 1.0L / 3);
  std::fenv_t after;
  std::fegetenv(&after);
  std::fesetenv(&saved);
#if defined(__x86_64__)
  EXPECT_EQ(after.__control_word, before.__control_word);
  EXPECT_EQ(after.__mxcsr, before.__mxcsr);
#endif
}

// The caller's sticky flags come back exactly: none added, none lost.
TEST(CalcRobustness, CallerFlagsKept) {
  const int flagSets[] = {0, FE_UNDERFLOW, FE_INEXACT | FE_DIVBYZERO};
  TCalcExpress calc;
  calc.SetVariables({"x"});
  calc.SetFormula("sin(x)/3+1e-4000*1e-4000");
  const long double values[] = {0.7L};
  for (int flags : flagSets) {
    std::feclearexcept(FE_ALL_EXCEPT);
    std::feraiseexcept(flags);
    calc.Calculate(values);
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), flags);
    calc.SetFormula("1/0");
    EXPECT_THROW(calc.Calculate(values), EZeroDivide);
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), flags);
    calc.SetFormula("sin(x)/3+1e-4000*1e-4000");
  }
  std::feclearexcept(FE_ALL_EXCEPT);
}
#endif

}  // namespace
