#pragma once
// The plot of a table as an SVG file written by hand: the formula's values
// and its derivative's against the variable, in a frame with ticks and
// labels, a gap wherever a row has no value, the two texts as the legend.

#include <optional>
#include <string>
#include <vector>

// A curve: one value per row, none where the row failed.
using TPlotCurve = std::vector<std::optional<long double>>;

struct TPlotData {
  std::string variable;                 // UTF-8, the label of the x axis
  std::string valueLabel, slopeLabel;   // UTF-8, the legend texts
  std::vector<long double> xs;
  TPlotCurve values, slopes;            // as many as xs; slopes may be empty
};

// The picture's size and its plotting area, in pixels from the top left.
struct TPlotLayout {
  static constexpr int kWidth = 640, kHeight = 400;
  static constexpr int kLeft = 80, kRight = 620, kTop = 64, kBottom = 350;
};
inline constexpr const char* kValueColour = "#1f5fbf";
inline constexpr const char* kSlopeColour = "#d9541e";

// The SVG text; numbers on the axes are written with NumberToText, so with
// the decimal separator in force.
std::string PlotSvg(const TPlotData& data);
