// zxhost's formula lines, through the built plug-in: what a script that
// pipes formulas into zxhost sees.

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>

#include <sys/resource.h>

#include "host/FormulaLines.h"
#include "host/PlugInLoader.h"
#include "host/ZxHost.h"

namespace {

class FormulaLines : public ::testing::Test {
protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(FLibrary.Load(VKT_PLUGIN_FILE, error)) << error;
    FHost = std::make_unique<TZxHost>(FLibrary.Api());
    FHost->Start();
  }
  TPlugInLibrary FLibrary;
  std::unique_ptr<TZxHost> FHost;
};

// A line per formula, and under a "[LastError]" what zxhost check says.
TEST_F(FormulaLines, OutputPerFormula) {
  struct TCase {
    const char* input;
    const char* output;
    bool allDone;
  } const cases[] = {
      {"2+3\n", "[result] = \"5\"\n", true},
      {"\n  \n# a comment\n  # indented\n", "", true},
      {"2,5*2\r\nd/dx x^2\n", "[result] = \"5\"\n[result] = \"2*x\"\n", true},
      {"1/0\n7\n", "[LastError] = \"Error in formula\"\ncalc: Gleitkommadivision durch Null\n[result] = \"7\"\n", false},
      {"d/dy sin(y)\nd/dx\n",
       "[result] = \"cos(y)\"\n[LastError] = \"Error in formula\"\nd/dx\n^ calc: unknown name: the calc action knows no variables\n",
       false},
      {"d/dx sin(x\n", "[LastError] = \"Error in formula.\"\nsin(x\n     ^ diff: \")\" expected\n", false},
      {"d/dx sin(x/0)\n", "[LastError] = \"Dividion by zero.\"\n", false},  // its own message already
      {"2+\xC3\xBC", "[LastError] = \"Error in formula\"\n2+\xC3\xBC\n  ^ calc: unexpected character\n", false},  // no line end, a non-ASCII letter
  };
  for (const TCase& c : cases) {
    std::istringstream in(c.input);
    std::ostringstream out;
    EXPECT_EQ(RunFormulaLines(*FHost, in, out), c.allDone) << c.input;
    EXPECT_EQ(out.str(), c.output) << c.input;
  }
}

// Counts what is written and keeps none of it.
class TCountingBuffer : public std::streambuf {
public:
  std::size_t Lines = 0;

protected:
  int_type overflow(int_type c) override {
    if (c == '\n') ++Lines;
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    for (std::streamsize i = 0; i < n; ++i) Lines += s[i] == '\n';
    return n;
  }
};

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// A long script keeps only its current line: the peak memory after 100,000
// formulas is the peak after 1,000 (the input text itself aside).
TEST_F(FormulaLines, LongScriptsRunInConstantMemory) {
  auto script = [](int lines) {
    std::string text;
    for (int i = 0; i < lines; ++i) text += i % 3 == 2 ? "d/dx x^" + std::to_string(i) + "\n" : std::to_string(i) + "/7\n";
    return text;
  };
  TCountingBuffer counter;
  std::ostream out(&counter);
  std::istringstream warmUp(script(1000));
  ASSERT_TRUE(RunFormulaLines(*FHost, warmUp, out));
  std::istringstream in(script(100000));
  const long before = PeakKilobytes();
  ASSERT_TRUE(RunFormulaLines(*FHost, in, out));
  EXPECT_EQ(counter.Lines, 101000u);
#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer holds freed memory back on purpose
  EXPECT_LT(PeakKilobytes() - before, 2048);
#else
  (void)before;
#endif
}

}  // namespace
