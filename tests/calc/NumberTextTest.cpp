#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "calc/NumberText.h"
#include "runtime/Exception.h"
#include "runtime/Regional.h"

namespace {

// Restores the separator whatever a test does with it.
struct TSeparator {
  explicit TSeparator(char sep) : FOld(DecimalSeparator()) { SetDecimalSeparator(sep); }
  ~TSeparator() { SetDecimalSeparator(FOld); }
  char FOld;
};

struct TTextCase { long double value; const char* text; };

TEST(NumberToText, GeneralFormatWith15Digits) {
  TSeparator dot('.');
  const TTextCase cases[] = {
      {2.5L, "2.5"},
      {1.0L / 3, "0.333333333333333"},
      {2.0L / 3, "0.666666666666667"},
      {0.0001L, "0.0001"},
      {0.00001L, "1E-5"},
      {0.00012345L, "0.00012345"},
      {1e15L, "1E15"},
      {999999999999999.0L, "999999999999999"},
      {-12.5L, "-12.5"},
      {250, "250"},
      {1e20L, "1E20"},
      {123456789012345678.0L, "1.23456789012346E17"},
      {0, "0"},
      {-0.0L, "0"},
      {1e-300L, "1E-300"},
      {1.5e4000L, "1.5E4000"},
      {-2.5e-4001L, "-2.5E-4001"},
      {9.9999999999999999e14L, "1E15"},
      {0.1L, "0.1"},
      {3.14159265358979323846L, "3.14159265358979"},
      {100.5L, "100.5"},
      {100000000000001.5L, "100000000000002"},  // an exact tie rounds to even
      {std::numeric_limits<long double>::infinity(), "INF"},
      {-std::numeric_limits<long double>::infinity(), "-INF"},
      {std::numeric_limits<long double>::quiet_NaN(), "NAN"},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberToText(c.value), c.text) << c.text;
}

TEST(NumberToText, CommaSeparator) {
  TSeparator comma(',');
  EXPECT_EQ(NumberToText(2.5L), "2,5");
  EXPECT_EQ(NumberToText(1.25e-7L), "1,25E-7");
  EXPECT_EQ(TextToNumber("2,5"), 2.5L);
  EXPECT_THROW(TextToNumber("2.5"), EConvertError);
}

// The fast paths must give exactly what the C library's correctly rounded
// formatting gives, also next to the halves where they hand over.
TEST(NumberToText, FastPathAgreesWithExactFormatting) {
  TSeparator dot('.');
  std::mt19937_64 rng(42);
  std::uniform_real_distribution<double> mant(1.0, 10.0);
  std::uniform_int_distribution<int> exp10(-12, 20);
  for (int i = 0; i < 20000; ++i) {
    long double v = mant(rng) * std::pow(10.0L, exp10(rng));
    if (i % 3 == 0) v = std::nearbyint(v * 1000) / 1000;  // short decimals
    char buf[64];
    FormatScientific15(v, buf, sizeof buf);
    std::string s = buf;  // d.ddddddddddddddde+x
    // Recompose the expected text from the exact digits.
    std::string digits = s.substr(0, 1) + s.substr(2, 14);
    int e = std::stoi(s.substr(s.find('e') + 1)) + 1;
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    std::string expect;
    const int n = static_cast<int>(digits.size());
    if (e > 15 || e < -3) {
      expect = digits.substr(0, 1);
      if (n > 1) expect += "." + digits.substr(1);
      expect += "E" + std::to_string(e - 1);
    } else if (e <= 0) {
      expect = "0." + std::string(-e, '0') + digits;
    } else if (n <= e) {
      expect = digits + std::string(e - n, '0');
    } else {
      expect = digits.substr(0, e) + "." + digits.substr(e);
    }
    ASSERT_EQ(NumberToText(v), expect) << s;
  }
}

TEST(TextToNumber, AcceptedForms) {
  TSeparator dot('.');
  const TTextCase cases[] = {
      {0, "0"}, {12, "12"}, {-3, "-3"}, {3, "+3"}, {2.5L, "2.5"},
      {1000, "1e3"}, {1000, "1E3"}, {1000, "1e+3"}, {0.0025L, "2.5e-3"},
      {7, "  7  "}, {0.5L, ".5"},
      {1234567890123456789.0L, "1234567890123456789"},
      {0.1L, "0.1"}, {1e-30L, "1e-30"}, {1e4000L, "1e4000"},
      {123456789.123456789123456789L, "123456789.123456789123456789"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TextToNumber(c.text), c.value) << c.text;
  EXPECT_EQ(TextToNumber("1e-5000"), 0.0L);  // too small: zero, no error
}

TEST(TextToNumber, RejectedForms) {
  TSeparator dot('.');
  for (const char* text : {"", " ", "e3", "1e", "1e+", "1ex", "1 2", "--1", "1.2.3", "1,5", "1e5000",
                           "0e5000", "1e4933", "1e0500x", "x"}) {
    try {
      TextToNumber(text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), std::string("'") + text + "' ist kein g\xFCltiger Gleitkommawert");
    }
  }
}

TEST(TextToNumber, RoundTripsWhatItWrites) {
  TSeparator dot('.');
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> mant(-10.0, 10.0);
  std::uniform_int_distribution<int> exp10(-30, 30);
  for (int i = 0; i < 5000; ++i) {
    const long double v = mant(rng) * std::pow(10.0L, exp10(rng));
    const std::string text = NumberToText(v);
    EXPECT_EQ(NumberToText(TextToNumber(text)), text);
  }
}

}  // namespace
