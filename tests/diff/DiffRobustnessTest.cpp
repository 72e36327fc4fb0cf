// No formula may crash the process or make a call allocate without bound:
// long operator chains and deep nesting on a small stack, megabyte formulas
// of any bytes, and derivatives that grow with the square of the formula.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <random>
#include <string>

#include "DiffTestUtil.h"
#include "diff/DiffReader.h"

#ifdef __linux__
#include <pthread.h>
#endif

// Counts the bytes held through operator new, so that a test can see the
// peak that one call reaches.
namespace {
std::atomic<long long> gHeld{0};
std::atomic<long long> gPeak{0};
constexpr std::size_t kHeader = 16;

void* CountedNew(std::size_t n) {
  void* p = std::malloc(n + kHeader);
  if (!p) throw std::bad_alloc();
  *static_cast<std::size_t*>(p) = n;
  const long long held = gHeld.fetch_add(static_cast<long long>(n)) + static_cast<long long>(n);
  long long peak = gPeak.load();
  while (held > peak && !gPeak.compare_exchange_weak(peak, held)) {
  }
  return static_cast<char*>(p) + kHeader;
}

void CountedDelete(void* p) noexcept {
  if (!p) return;
  char* base = static_cast<char*>(p) - kHeader;
  gHeld.fetch_sub(static_cast<long long>(*reinterpret_cast<std::size_t*>(base)));
  std::free(base);
}
}  // namespace

void* operator new(std::size_t n) { return CountedNew(n); }
void* operator new[](std::size_t n) { return CountedNew(n); }
void operator delete(void* p) noexcept { CountedDelete(p); }
void operator delete[](void* p) noexcept { CountedDelete(p); }
void operator delete(void* p, std::size_t) noexcept { CountedDelete(p); }
void operator delete[](void* p, std::size_t) noexcept { CountedDelete(p); }

namespace {

// The derivative and the most memory held during Differentiate beyond what
// was held before it.
std::string DeriveMeasured(const std::string& formula, long long& peakBytes) {
  TDiffExpress diff;
  diff.SetFormula(formula);
  std::string result;
  const long long before = gHeld.load();
  gPeak.store(before);
  try {
    diff.Differentiate("x", result);
  } catch (const Exception& e) {
    result = "!" + e.Message();
  }
  peakBytes = gPeak.load() - before;
  return result;
}

// Runs body on a thread with a 1 MB stack (the main thread elsewhere).
void OnSmallStack(const std::function<void()>& body) {
#ifdef __linux__
  pthread_attr_t attr;
  ASSERT_EQ(pthread_attr_init(&attr), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attr, 1 << 20), 0);
  pthread_t thread;
  auto run = [](void* arg) -> void* {
    (*static_cast<const std::function<void()>*>(arg))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, run, const_cast<std::function<void()>*>(&body)), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
#else
  body();
#endif
}

std::string Repeat(const std::string& piece, int times, const std::string& first = "") {
  std::string s = first;
  for (int i = 0; i < times; ++i) s += piece;
  return s;
}

std::string Nested(const std::string& open, int depth, const std::string& inner) {
  return Repeat(open, depth) + inner + std::string(static_cast<std::size_t>(depth), ')');
}

constexpr long long kFewMegabytes = 4 << 20;

TEST(DiffRobustness, DeepFormulasOnASmallStack) {
  struct TCase {
    std::string Formula;
    std::string Expected;
  };
  const TCase cases[] = {
      {Repeat("+x", 1249, "x"), "1250"},
      {Repeat("+x", 2499, "x"), kErrFormula},
      {Repeat("+x", 4999, "x"), kErrFormula},
      {Repeat("*x", 2499, "x"), kErrFormula},
      {Repeat("-x", 1249, "x"), "(-1248)"},
      {Repeat("/x", 2000, "x"), kErrFormula},
      {Repeat("^2", 2000, "x"), kErrFormula},
      {Nested("sin(", 2500, "x"), kErrFormula},
      {Nested("sin(", 4999, "x"), kErrFormula},
      {Nested("sgn(", 4998, "x"), "0"},
      {Nested("(", 19999, "x"), "1"},
      // The nesting limit is a bracket count, whatever the innermost bracket holds.
      {Nested("(", TDiffReader::kMaxNesting, "x"), "1"},
      {Nested("(", TDiffReader::kMaxNesting + 1, "x"), kErrFormula},
      {Nested("(", TDiffReader::kMaxNesting, "x+1"), "1"},
      {Nested("(", TDiffReader::kMaxNesting + 1, "x+1"), kErrFormula},
      {Nested("(", TDiffReader::kMaxNesting - 1, "sgn(x)"), "0"},
      {Nested("(", TDiffReader::kMaxNesting, "sgn(x)"), kErrFormula},
      {Nested("(", 25000, "x"), kErrFormula},
      {Nested("(", 1 << 20, "x"), kErrFormula},
      {Nested("(-", 2000, "x"), "1"},
      {Nested("(-", 2001, "x"), "(-1)"},
      {"x*" + Nested("(-", 1500, "y"), Nested("(-(", 1499, "(-y)") + std::string(1499, ')')},
      {Nested("x/(", 1000, "x"), kErrFormula},
      {Nested("exp(", 120, "x"), kErrFormula},
  };
  OnSmallStack([&] {
    for (const auto& c : cases) {
      long long peak = 0;
      EXPECT_EQ(DeriveMeasured(c.Formula, peak), c.Expected) << "formula: " << c.Formula.substr(0, 40);
      EXPECT_LT(peak, kFewMegabytes) << "formula: " << c.Formula.substr(0, 40);
    }
  });
}

// Formulas of a megabyte: random bytes, and long runs of each kind of token.
TEST(DiffRobustness, MegabyteFormulas) {
  constexpr int kSize = 1 << 20;
  std::vector<std::string> formulas;
  std::mt19937 random(12345);
  for (int round = 0; round < 4; ++round) {
    std::string s(kSize, ' ');
    for (char& c : s) c = static_cast<char>(1 + random() % 255);
    formulas.push_back(s);
  }
  const char* alphabet = "x+-*/^()1.e sin";
  std::string tokens(kSize, ' ');
  for (char& c : tokens) c = alphabet[random() % 15];
  formulas.push_back(tokens);
  for (const char* piece : {"(", ")", "x+", "x*", "-(", "sin(", "1", "x", "x^2", " ", "1e9", "\xFF"})
    formulas.push_back(Repeat(piece, kSize / static_cast<int>(std::strlen(piece))));
  formulas.push_back("x*" + std::string(kSize, '7'));       // a literal beyond range
  formulas.push_back("x*" + std::string(kSize, 'y'));       // one long name
  formulas.push_back("x*x*" + std::string(kSize / 4, 'y') + "*x");

  OnSmallStack([&] {
    for (const auto& f : formulas) {
      long long peak = 0;
      const std::string result = DeriveMeasured(f, peak);
      EXPECT_FALSE(result.empty());
      EXPECT_LT(peak, 4 * static_cast<long long>(f.size()) + kFewMegabytes);
    }
  });
  long long peak = 0;
  EXPECT_EQ(DeriveMeasured(formulas[formulas.size() - 3], peak), ConvertErr(std::string(kSize, '7')));
  EXPECT_EQ(DeriveMeasured(formulas[formulas.size() - 2], peak), std::string(kSize, 'y'));
  EXPECT_EQ(DeriveMeasured(Repeat("1", kSize), peak), "0");
}

}  // namespace
