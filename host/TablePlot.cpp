#include "host/TablePlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "calc/NumberText.h"

namespace {

using L = TPlotLayout;

// A closed range of values and its mapping onto a range of pixels.
struct TAxis {
  long double lo, hi;
  int from, to;  // pixels of lo and hi
  double Pixel(long double v) const {
    const long double p = from + (v - lo) / (hi - lo) * (to - from);
    if (std::isnan(p)) return from;  // a range too wide for the format
    return static_cast<double>(std::clamp(p, -1e5L, 1e5L));  // far outside stays far outside
  }
};

// Widens an empty or degenerate range so that it can be drawn.
void Widen(long double& lo, long double& hi) {
  if (!(lo < hi)) {
    const long double pad = lo == 0 ? 1 : std::fabs(lo) / 2;
    lo -= pad;
    hi += pad;
  }
}

// Tick positions at 1, 2 or 5 times a power of ten, about six of them.
std::vector<long double> Ticks(long double lo, long double hi) {
  const long double rough = (hi - lo) / 6;
  const long double power = std::pow(10.0L, std::floor(std::log10(rough)));
  long double step = power;
  for (long double m : {2.0L, 5.0L, 10.0L})
    if (rough > step) step = power * m;
  std::vector<long double> ticks;
  for (long double k = std::ceil(lo / step); k * step <= hi && ticks.size() < 20; k += 1) ticks.push_back(k * step);
  return ticks;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", v);
  return text;
}

std::string Text(double x, double y, const char* anchor, const std::string& text, const char* extra = "") {
  return "<text x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" text-anchor=\"" + anchor + "\"" + extra + ">" +
         Escaped(text) + "</text>\n";
}

// The curve as runs of neighbouring rows with values: a path per run of two
// or more, a dot for a row alone between gaps.
std::string Curve(const std::vector<long double>& xs, const TPlotCurve& ys, const TAxis& ax, const TAxis& ay,
                  const char* colour) {
  std::string out, path;
  std::size_t runStart = 0;
  auto closeRun = [&](std::size_t end) {
    if (end - runStart == 1)
      out += "<circle cx=\"" + Number(ax.Pixel(xs[runStart])) + "\" cy=\"" + Number(ay.Pixel(*ys[runStart])) +
             "\" r=\"2.5\" fill=\"" + colour + "\"/>\n";
  };
  for (std::size_t i = 0; i <= ys.size(); ++i) {
    if (i < ys.size() && ys[i]) {
      const bool starts = i == 0 || !ys[i - 1];
      if (starts) runStart = i;
      path += (starts ? "M" : " L") + Number(ax.Pixel(xs[i])) + " " + Number(ay.Pixel(*ys[i]));
    } else if (i > 0 && ys[i - 1]) {
      closeRun(i);
    }
  }
  if (!path.empty())
    out += "<path d=\"" + path + "\" fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"2\" stroke-linejoin=\"round\"/>\n";
  return out;
}

void ValueRange(const TPlotCurve& curve, long double& lo, long double& hi) {
  for (const auto& v : curve) {
    if (!v) continue;
    lo = std::min(lo, *v);
    hi = std::max(hi, *v);
  }
}

std::string Frame(const TAxis& ax, const TAxis& ay, const std::string& variable) {
  std::string out = "<g stroke=\"#e0e0e0\" stroke-width=\"1\">\n";
  const auto xTicks = Ticks(ax.lo, ax.hi), yTicks = Ticks(ay.lo, ay.hi);
  for (long double t : xTicks)
    out += "<line x1=\"" + Number(ax.Pixel(t)) + "\" y1=\"" + Number(L::kTop) + "\" x2=\"" + Number(ax.Pixel(t)) +
           "\" y2=\"" + Number(L::kBottom) + "\"/>\n";
  for (long double t : yTicks)
    out += "<line x1=\"" + Number(L::kLeft) + "\" y1=\"" + Number(ay.Pixel(t)) + "\" x2=\"" + Number(L::kRight) +
           "\" y2=\"" + Number(ay.Pixel(t)) + "\"/>\n";
  // The frame on whole pixels: a line of width 1 centred between two.
  out += "</g>\n<rect x=\"" + Number(L::kLeft + 0.5) + "\" y=\"" + Number(L::kTop + 0.5) + "\" width=\"" +
         Number(L::kRight - L::kLeft) + "\" height=\"" + Number(L::kBottom - L::kTop) +
         "\" fill=\"none\" stroke=\"#000000\" stroke-width=\"1\"/>\n";
  out += "<g font-family=\"sans-serif\" font-size=\"12\" fill=\"#000000\">\n";
  for (long double t : xTicks) out += Text(ax.Pixel(t), L::kBottom + 16, "middle", NumberToText(t));
  for (long double t : yTicks) out += Text(L::kLeft - 6, ay.Pixel(t) + 4, "end", NumberToText(t));
  out += Text((L::kLeft + L::kRight) / 2.0, L::kHeight - 12, "middle", variable, " font-style=\"italic\"");
  const double middle = (L::kTop + L::kBottom) / 2.0;
  out += Text(16, middle, "middle", "f(" + variable + "), f'(" + variable + ")",
              (" font-style=\"italic\" transform=\"rotate(-90 16 " + Number(middle) + ")\"").c_str());
  return out + "</g>\n";
}

std::string Legend(const TPlotData& data) {
  std::string out = "<g font-family=\"sans-serif\" font-size=\"13\" fill=\"#000000\">\n";
  const struct { const std::string* label; const char* colour; } entries[] = {
      {&data.valueLabel, kValueColour}, {&data.slopeLabel, kSlopeColour}};
  double y = 22;
  for (const auto& entry : entries) {
    if (entry.label->empty()) continue;
    out += "<line x1=\"" + Number(L::kLeft) + "\" y1=\"" + Number(y - 4) + "\" x2=\"" + Number(L::kLeft + 24) +
           "\" y2=\"" + Number(y - 4) + "\" stroke=\"" + entry.colour + "\" stroke-width=\"3\"/>\n";
    out += Text(L::kLeft + 32, y, "start", *entry.label);
    y += 20;
  }
  return out + "</g>\n";
}

}  // namespace

std::string PlotSvg(const TPlotData& data) {
  long double xLo = data.xs.empty() ? 0 : *std::min_element(data.xs.begin(), data.xs.end());
  long double xHi = data.xs.empty() ? 0 : *std::max_element(data.xs.begin(), data.xs.end());
  long double yLo = INFINITY, yHi = -INFINITY;
  ValueRange(data.values, yLo, yHi);
  ValueRange(data.slopes, yLo, yHi);
  if (yLo > yHi) yLo = yHi = 0;  // no row has a value
  Widen(xLo, xHi);
  Widen(yLo, yHi);
  const long double margin = (yHi - yLo) / 20;  // curves clear of the frame
  yLo -= margin;
  yHi += margin;
  const TAxis ax{xLo, xHi, L::kLeft, L::kRight}, ay{yLo, yHi, L::kBottom, L::kTop};

  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                    std::to_string(L::kWidth) + "\" height=\"" + std::to_string(L::kHeight) + "\" viewBox=\"0 0 " +
                    std::to_string(L::kWidth) + " " + std::to_string(L::kHeight) + "\">\n";
  svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  svg += Frame(ax, ay, data.variable);
  svg += "<svg x=\"" + Number(L::kLeft) + "\" y=\"" + Number(L::kTop) + "\" width=\"" + Number(L::kRight - L::kLeft) +
         "\" height=\"" + Number(L::kBottom - L::kTop) + "\" viewBox=\"" + Number(L::kLeft) + " " + Number(L::kTop) +
         " " + Number(L::kRight - L::kLeft) + " " + Number(L::kBottom - L::kTop) + "\" overflow=\"hidden\">\n";
  svg += Curve(data.xs, data.slopes, ax, ay, kSlopeColour);
  svg += Curve(data.xs, data.values, ax, ay, kValueColour);
  svg += "</svg>\n" + Legend(data) + "</svg>\n";
  return svg;
}
