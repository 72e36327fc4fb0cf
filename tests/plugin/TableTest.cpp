// zxhost table through the built plug-in, loaded under either decimal
// separator, and its plot as a Debian SVG renderer draws it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>

#ifdef VKT_HAVE_PNG
#include <png.h>
#endif

#include "host/PlugInLoader.h"
#include "host/Table.h"
#include "host/TablePlot.h"
#include "host/ZxHost.h"
#include "tests/plugin/TestEnvironment.h"

namespace fs = std::filesystem;

namespace {

// A copy of the plug-in loaded while the regional separator is the given one.
class TTableHost {
public:
  explicit TTableHost(char separator) {
    fs::copy_file(VKT_PLUGIN_FILE, FFolder.Path() / "vktQuantaro.zxp");
    TEnvironment env;
    if (separator == ',') {
      const auto locales = CommaLocaleFolder();
      if (!locales) return;
      env.Set("LOCPATH", locales->string());
      env.Set("LC_ALL", "de_DE.UTF-8");
    } else {
      env.Set("LC_ALL", "C");
    }
    std::string error;
    if (!FLibrary.Load((FFolder.Path() / "vktQuantaro.zxp").string(), error)) return;
    FHost = std::make_unique<TZxHost>(FLibrary.Api());
    FHost->Start();
  }
  bool Loaded() const { return FHost != nullptr; }

  // The output and the exit status of "zxhost table ARGS".
  std::pair<std::string, int> Table(const std::vector<std::string>& args) {
    std::string problem;
    const auto options = ReadTableArguments(args, problem);
    if (!options) return {"usage: " + problem, 2};
    std::ostringstream out, err;
    const int status = RunTable(*FHost, *options, out, err);
    return {out.str() + err.str(), status};
  }

private:
  TTempFolder FFolder;
  TPlugInLibrary FLibrary;
  std::unique_ptr<TZxHost> FHost;
};

struct TTableCase {
  char separator;
  std::vector<std::string> args;
  int status;
  const char* output;
};

const TTableCase kCases[] = {
    {'.', {"x^2", "x", "0", "1", "4"}, 0,
     "f(x) = x^2\nf'(x) = 2*x\n\n"
     "x     f(x)    f'(x)\n0     0       0\n0.25  0.0625  0.5\n0.5   0.25    1\n0.75  0.5625  1.5\n1     1       2\n"},
    // A failing row in the middle, in both columns; the others go on.
    {'.', {"1/(x-1)", "x", "0", "2", "4"}, 1,
     "f(x) = 1/(x-1)\nf'(x) = (-1)/(x-1)^2\n\n"
     "x    f(x)                           f'(x)\n0    -1                             -1\n"
     "0.5  -2                             -4\n1    Gleitkommadivision durch Null  Gleitkommadivision durch Null\n"
     "1.5  2                              -4\n2    1                              -1\n"},
    // The diff action fails: its message above, no derivative column.
    {'.', {"x^y", "x", "0", "1", "2"}, 1,
     "f(x) = x^y\nf'(x) = none: Error in formula.\n\n"
     "x    f(x)\n0    Variable without a value.\n0.5  Variable without a value.\n1    Variable without a value.\n"},
    // Either separator reads; the plug-in's one is written.
    {'.', {"x*2,5", "x", "0,5", "1.5", "1"}, 0,
     "f(x) = x*2.5\nf'(x) = 2.5\n\nx    f(x)  f'(x)\n0.5  1.25  2.5\n1.5  3.75  2.5\n"},
    {',', {"x*2.5", "x", "0.5", "1,5", "1"}, 0,
     "f(x) = x*2,5\nf'(x) = 2,5\n\nx    f(x)  f'(x)\n0,5  1,25  2,5\n1,5  3,75  2,5\n"},
    {',', {"ln(x)", "x", "-1", "1", "2"}, 1,
     "f(x) = ln(x)\nf'(x) = 1/x\n\nx   f(x)                           f'(x)\n"
     "-1  Ung\xC3\xBCltige Gleitkommaoperation  -1\n0   Gleitkommadivision durch Null  Gleitkommadivision durch Null\n"
     "1   0                              1\n"},
    // Only the derivative fails in a row: still not complete.
    {'.', {"sqrt(x)", "x", "0", "1", "1"}, 1,
     "f(x) = sqrt(x)\nf'(x) = 0.5/sqrt(x)\n\nx  f(x)  f'(x)\n0  0     Gleitkommadivision durch Null\n1  1     0.5\n"},
    // The table is printed, the plot cannot be written.
    {'.', {"x", "x", "0", "1", "1", "--svg", "/nonexistent/p.svg"}, 1,
     "f(x) = x\nf'(x) = 1\n\nx  f(x)  f'(x)\n0  0     1\n1  1     1\nzxhost: cannot write /nonexistent/p.svg\n"},
    {'.', {"x", "x", "one", "2"}, 2, "zxhost: FROM and TO must be numbers (\"one\", \"2\")\n"},
    {'.', {"x", "x", "0", "1", "0"}, 2, "usage: STEPS must be a whole number from 1 to 1000000"},
    {'.', {"x", "x", "0"}, 2, "usage: table takes FORMULA VARIABLE FROM TO [STEPS]"},
    {'.', {"x", "x", "0", "1", "--svg"}, 2, "usage: --svg needs a file name"},
};

TEST(ZxHostTable, PrintsAlignedColumnsWithThePlugInsSeparator) {
  for (char separator : {'.', ','}) {
    TTableHost host(separator);
    ASSERT_TRUE(host.Loaded()) << "no plug-in loaded with the separator " << separator;
    for (const TTableCase& c : kCases) {
      if (c.separator != separator) continue;
      const auto [output, status] = host.Table(c.args);
      EXPECT_EQ(output, c.output) << c.args[0];
      EXPECT_EQ(status, c.status) << c.args[0];
    }
  }
}

TEST(ZxHostTable, StepsFromOneToAMillion) {
  const struct { const char* steps; int want; } cases[] = {
      {"1", 1}, {"1000000", 1000000}, {"0001000", 1000}, {"1000001", 0}, {"0", 0}, {"-1", 0}, {"2.5", 0}, {"", 0}};
  for (const auto& c : cases) {
    std::string problem;
    const auto options = ReadTableArguments({"x", "x", "0", "1", c.steps}, problem);
    EXPECT_EQ(options ? options->steps : 0, c.want) << c.steps;
  }
}

namespace {
// The texts of the plot's labels with the given anchor, in order.
std::vector<std::string> Labels(const std::string& svg, const std::string& anchor) {
  std::vector<std::string> out;
  const std::string key = "text-anchor=\"" + anchor + "\">";
  for (std::size_t at = svg.find(key); at != std::string::npos; at = svg.find(key, at + 1)) {
    const std::size_t from = at + key.size();
    out.push_back(svg.substr(from, svg.find('<', from) - from));
  }
  return out;
}
}  // namespace

// The plot's geometry from its layout: x from 80 to 620, y from 350 (the
// lowest value less a twentieth of the range) up to 64 (the highest plus a
// twentieth); an empty range widened by half its value (1 at 0) each way;
// a dot for a row alone between gaps; ticks inside the frame only.
TEST(ZxHostTable, PlotPlacesCurvesTicksAndLegend) {
  using V = std::optional<long double>;
  const struct {
    const char* name;
    std::vector<long double> xs;
    TPlotCurve values;
    std::vector<std::string> want;  // parts of the SVG text
    int dots;
  } cases[] = {
      {"rising", {0, 1}, {V(0), V(1)}, {"d=\"M80.0 337.0 L620.0 77.0\""}, 0},
      {"constant", {0, 1}, {V(2), V(2)}, {"d=\"M80.0 207.0 L620.0 207.0\""}, 0},  // [1, 3] widened
      {"rows alone", {0, 1, 2, 3, 4}, {V(1), {}, V(2), {}, V(3)}, {}, 3},
      {"from 0.1", {0.1L, 1}, {V(0), V(1)}, {}, 0},  // ticks from 0.2, not 0
  };
  for (const auto& c : cases) {
    const std::string svg = PlotSvg({"x", "f(x) = a<b>&\"c", "", c.xs, c.values, {}});
    for (const std::string& part : c.want) EXPECT_NE(svg.find(part), std::string::npos) << c.name << ": " << part;
    int dots = 0;
    for (std::size_t at = svg.find("<circle"); at != std::string::npos; at = svg.find("<circle", at + 1)) ++dots;
    EXPECT_EQ(dots, c.dots) << c.name;
    EXPECT_NE(svg.find(">f(x) = a&lt;b&gt;&amp;&quot;c</text>"), std::string::npos) << c.name;
    const std::regex grid("<line x1=\"([-0-9.]+)\" y1=\"([-0-9.]+)\" x2=\"([-0-9.]+)\" y2=\"([-0-9.]+)\"/>");
    for (std::sregex_iterator it(svg.begin(), svg.end(), grid), end; it != end; ++it) {
      const double x1 = std::stod((*it)[1]), y1 = std::stod((*it)[2]);
      const double x2 = std::stod((*it)[3]), y2 = std::stod((*it)[4]);
      EXPECT_TRUE(x1 >= 80 && x2 <= 620 && y1 >= 64 && y2 <= 350) << c.name << ": grid line " << it->str();
    }
  }
  const std::string rising = PlotSvg({"x", "", "", {0, 1}, {V(0), V(1)}, {}});
  EXPECT_EQ(Labels(rising, "end"), (std::vector<std::string>{"0", "0.2", "0.4", "0.6", "0.8", "1"}));
}

#ifdef VKT_HAVE_PNG
struct TRgb {
  int r, g, b;
};

TRgb Colour(const char* hex) {
  const unsigned v = static_cast<unsigned>(std::strtoul(hex + 1, nullptr, 16));
  return {static_cast<int>(v >> 16), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF)};
}

class TImage {
public:
  explicit TImage(const fs::path& png) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, png.c_str())) return;
    image.format = PNG_FORMAT_RGB;
    FPixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, FPixels.data(), 0, nullptr)) FPixels.clear();
    FWidth = static_cast<int>(image.width);
    FHeight = static_cast<int>(image.height);
  }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TRgb At(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * FWidth + x) * 3;
    return {FPixels[i], FPixels[i + 1], FPixels[i + 2]};
  }
  // Pixels close to the colour in columns [x0, x1) of the plotting area.
  int Count(TRgb c, int x0, int x1) const {
    int n = 0;
    for (int y = TPlotLayout::kTop + 2; y < TPlotLayout::kBottom - 1; ++y)
      for (int x = x0; x < x1; ++x) {
        const TRgb p = At(x, y);
        n += std::abs(p.r - c.r) + std::abs(p.g - c.g) + std::abs(p.b - c.b) < 60;
      }
    return n;
  }

private:
  std::vector<unsigned char> FPixels;
  int FWidth = 0, FHeight = 0;
};

// ln(x) and 1/x over [-1, 1]: ln fails on the left half and at 0, where 1/x
// fails too; the curves have gaps there. A dark frame, a white background.
TEST(ZxHostTable, PlotRendersWithGapsWhereRowsFail) {
  TTableHost host('.');
  ASSERT_TRUE(host.Loaded());
  TTempFolder folder;
  const fs::path svg = folder.Path() / "plot.svg", png = folder.Path() / "plot.png";
  EXPECT_EQ(host.Table({"ln(x)", "x", "-1", "1", "40", "--svg", svg.string()}).second, 1);
  const std::string command = "rsvg-convert -o '" + png.string() + "' '" + svg.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << "rsvg-convert (Debian package librsvg2-bin) is needed";
  const TImage image(png);
  ASSERT_EQ(image.Width(), TPlotLayout::kWidth);
  ASSERT_EQ(image.Height(), TPlotLayout::kHeight);
  const int middle = (TPlotLayout::kLeft + TPlotLayout::kRight) / 2;
  const TRgb value = Colour(kValueColour), slope = Colour(kSlopeColour);
  EXPECT_EQ(image.Count(value, TPlotLayout::kLeft + 2, middle), 0);
  EXPECT_GT(image.Count(value, middle, TPlotLayout::kRight - 1), 100);
  EXPECT_GT(image.Count(slope, TPlotLayout::kLeft + 2, middle - 8), 100);
  EXPECT_EQ(image.Count(slope, middle - 8, middle + 8), 0);  // rows at -0.05 and 0.05 are 13 pixels off
  EXPECT_GT(image.Count(slope, middle + 8, TPlotLayout::kRight - 1), 100);
  const TRgb corner = image.At(2, 2), frame = image.At(TPlotLayout::kLeft, (TPlotLayout::kTop + TPlotLayout::kBottom) / 2);
  EXPECT_GT(corner.r + corner.g + corner.b, 3 * 250);
  EXPECT_LT(frame.r + frame.g + frame.b, 3 * 100);
  std::ifstream file(svg);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find(">f(x) = ln(x)</text>"), std::string::npos);
  EXPECT_NE(text.find(">f'(x) = 1/x</text>"), std::string::npos);
}
#endif

}  // namespace
