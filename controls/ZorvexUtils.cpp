#include "controls/ZorvexUtils.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "controls/Display.h"

// The face colours are fixed; the light face is the base one shifted by 20.
// Only the colour count (controls/Startup.cpp) depends on the display:
// InitZorvexUtils finds it.
TColor FaceBaseColor = Rgb(214, 214, 198), FaceHotColor = Rgb(255, 255, 255), FaceLightColor = Rgb(234, 234, 218),
       FrameColor = Rgb(128, 169, 211), FrameHotPressedColor = Rgb(160, 201, 243),
       FrameDisabledColor = Rgb(189, 189, 189);

const std::uint8_t CornerTopLeft[9] = {30, 80, 200, 80, 200, 60, 200, 60, 0};
const std::uint8_t CornerTopRight[9] = {200, 80, 30, 60, 200, 80, 0, 60, 200};
const std::uint8_t CornerBottomLeft[9] = {200, 60, 0, 80, 200, 60, 30, 80, 200};
const std::uint8_t CornerBottomRight[9] = {0, 60, 200, 60, 200, 80, 200, 80, 30};

namespace {
int GDisplayBits = 0;

// The weighted RGB space of the contrast routines, in single precision.
const float kR = std::bit_cast<float>(0x3F43C3C6u);  // 195/255
const float kG = std::bit_cast<float>(0x3FC3C3B5u);  // 390/255
const float kB = std::bit_cast<float>(0x3E828284u);  // 65/255
constexpr float kWhite[3] = {195.0f, 390.0f, 65.0f};
constexpr float kBrightest = 442.0f;

int Channel(TColor c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }
}  // namespace

void OverrideDisplayBits(int bits) { GDisplayBits = bits; }

int GetScreenColors() {
  const int bits = GDisplayBits ? GDisplayBits : DisplayBitsTimesPlanes();
  return bits <= 8 ? 1 << bits : 16777216;
}

void InitZorvexUtils() { ScreenColors = GetScreenColors(); }

float ColorDistance(TColor c1, TColor c2) {
  const float r = static_cast<float>(Channel(c1, 0) - Channel(c2, 0)) * kR;
  const float g = static_cast<float>(Channel(c1, 8) - Channel(c2, 8)) * kG;
  const float b = static_cast<float>(Channel(c1, 16) - Channel(c2, 16)) * kB;
  float sum = r * r;
  sum = sum + g * g;
  sum = sum + b * b;
  return std::sqrt(sum);
}

float ContrastThreshold(float brightness, float threshold) {
  if (brightness >= 220.0f) return threshold;
  const float factor = 2.0f - brightness / 220.0f;
  return threshold * factor;
}

bool HasContrast(TColor value, TColor against, bool adjust, float threshold) {
  if (adjust) threshold = ContrastThreshold(ColorDistance(against, 0), threshold);
  return ColorDistance(against, value) > threshold;
}

// Moves `value` along its line through black (or, inverted, through white)
// to the nearer point at exactly the adjusted threshold from `against`.
void AdjustForContrast(TColor& value, TColor against, float threshold) {
  const float brightValue = ColorDistance(value, 0);
  const float brightAgainst = ColorDistance(against, 0);
  const float t = ContrastThreshold(brightAgainst, threshold);
  const bool invert = brightValue > brightAgainst ? kBrightest - t > brightAgainst : brightAgainst < t;

  const float k[3] = {kR, kG, kB};
  float a[3], c[3];
  for (int i = 0; i < 3; ++i) {
    a[i] = static_cast<float>(Channel(against, 8 * i)) * k[i];
    c[i] = static_cast<float>(Channel(value, 8 * i)) * k[i];
    if (invert) {
      a[i] = kWhite[i] - a[i];
      c[i] = kWhite[i] - c[i];
    }
  }
  float length = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
  if (length < 0.01f) length = 0.01f;
  const float projection = (c[0] * a[0] + c[1] * a[1] + c[2] * a[2]) / length;
  float p[3];
  for (int i = 0; i < 3; ++i) p[i] = projection / length * c[i] - a[i];
  const float q = std::sqrt(t * t - (p[0] * p[0] + p[1] * p[1] + p[2] * p[2]));
  const float scale = (projection - q) / length;

  TColor result = 0;
  for (int i = 0; i < 3; ++i) {
    float x = scale * c[i];
    if (invert) x = kWhite[i] - x;
    if (!(x >= 0.0f)) x = 0.0f;  // also a value that is not a number
    if (x > kWhite[i]) x = kWhite[i];
    const float channel = x / k[i] + 0.5f;
    result |= static_cast<TColor>(std::clamp(static_cast<int>(channel), 0, 255)) << (8 * i);
  }
  value = result;
}

void EnsureContrast(TColor& value, TColor against, int minimum) {
  value = ColorToRGB(value);
  against = ColorToRGB(against);
  const float threshold = static_cast<float>(minimum);
  if (!HasContrast(value, against, true, threshold)) AdjustForContrast(value, against, threshold);
}

TColor MixColors(TColor c1, TColor c2, int weight) {
  c1 = ColorToRGB(c1);
  c2 = ColorToRGB(c2);
  const int scale = weight < 100 ? 100 : 1000;
  TColor result = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int mixed = (Channel(c1, shift) * weight + Channel(c2, shift) * (scale - weight) + scale / 2) / scale;
    result |= static_cast<TColor>(mixed & 0xFF) << shift;
  }
  return result;
}

TColor ShiftColor(TColor value, int delta) {
  value = ColorToRGB(value);
  TColor result = 0;
  for (int shift = 0; shift < 24; shift += 8)
    result |= static_cast<TColor>(std::clamp(Channel(value, shift) + delta, 0, 255)) << shift;
  return result;
}

// Line k from the top (left) edge takes the colour of step n - 1 - k, step
// i being A + i (B - A) / (n - 1): B at the top, A at the bottom. Each line
// is filled once with its final colour. A single line has no steps to
// divide: it takes colour A.
void FillGradient(TCanvas& canvas, const TRect& r, TColor a, TColor b, bool vertical) {
  a = ColorToRGB(a);
  b = ColorToRGB(b);
  const int n = vertical ? r.Bottom - r.Top : r.Right - r.Left;
  if (n - 1 < 0) return;
  const TBrushStyle savedStyle = canvas.BrushStyle;
  const TColor savedColor = canvas.BrushColor;
  canvas.BrushStyle = TBrushStyle::Solid;
  for (int k = 0; k < n; ++k) {
    const int step = n - 1 - k;
    TColor color = a;
    if (n > 1) {
      color = 0;
      for (int shift = 0; shift < 24; shift += 8) {
        const int from = Channel(a, shift), to = Channel(b, shift);
        color |= static_cast<TColor>((from + step * (to - from) / (n - 1)) & 0xFF) << shift;
      }
    }
    canvas.BrushColor = color;
    canvas.FillRect(vertical ? TRect{r.Left, r.Top + k, r.Right, r.Top + k + 1}
                             : TRect{r.Left + k, r.Top, r.Left + k + 1, r.Bottom});
  }
  canvas.BrushStyle = savedStyle;
  canvas.BrushColor = savedColor;
}

void DrawAlphaPixel(TCanvas& canvas, int x, int y, TColor color, int alpha) {
  if (alpha <= 0) return;
  color = ColorToRGB(color);
  if (alpha >= 255) {
    canvas.SetPixel(x, y, color);
    return;
  }
  const TColor pixel = canvas.Pixel(x, y);
  if (pixel == clInvalid) return;
  const std::uint32_t a = alpha > 127 ? alpha + 1 : alpha, i = 256 - a;
  const std::uint32_t rb = ((color & 0xFF00FF) * a + (pixel & 0xFF00FF) * i + 0x7F007F) & 0xFF00FF00;
  const std::uint32_t g = ((color & 0xFF00) * a + (pixel & 0xFF00) * i + 0x7F00) & 0xFF0000;
  canvas.SetPixel(x, y, (rb + g) >> 8);
}

void DrawAlphaCorner(TCanvas& canvas, int x, int y, TColor color, const std::uint8_t (&alphas)[9]) {
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column)
      DrawAlphaPixel(canvas, x + column, y + row, color, alphas[row * 3 + column]);
}

namespace {
void Line(TCanvas& canvas, int x1, int y1, int x2, int y2) {
  canvas.MoveTo(x1, y1);
  canvas.LineTo(x2, y2);
}

void SolidPen(TCanvas& canvas, TColor color) {
  canvas.PenWidth = 1;
  canvas.PenStyle = TPenStyle::Solid;
  canvas.PenColor = color;
}
}  // namespace

void DrawBevelFrame(TCanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight) {
  const int right = r.Right - 1, bottom = r.Bottom - 1;
  SolidPen(canvas, topLeft);
  canvas.MoveTo(r.Left, bottom);
  canvas.LineTo(r.Left, r.Top);
  canvas.LineTo(right, r.Top);
  SolidPen(canvas, bottomRight);
  canvas.MoveTo(r.Left, bottom);
  canvas.LineTo(right, bottom);
  canvas.LineTo(right, r.Top);
  const TColor mixed = MixColors(topLeft, bottomRight, 50);
  canvas.SetPixel(right, r.Top, mixed);
  canvas.SetPixel(r.Left, bottom, mixed);
}

void DrawRoundFrame(TCanvas& canvas, const TRect& r, TColor color) {
  const int right = r.Right - 1, bottom = r.Bottom - 1;
  SolidPen(canvas, color);
  Line(canvas, r.Left + 3, r.Top, right - 2, r.Top);
  Line(canvas, r.Left, r.Top + 3, r.Left, bottom - 2);
  Line(canvas, right, r.Top + 3, right, bottom - 2);
  Line(canvas, r.Left + 3, bottom, right - 2, bottom);
  DrawAlphaCorner(canvas, r.Left, r.Top, color, CornerTopLeft);
  DrawAlphaCorner(canvas, right - 2, r.Top, color, CornerTopRight);
  DrawAlphaCorner(canvas, r.Left, bottom - 2, color, CornerBottomLeft);
  DrawAlphaCorner(canvas, right - 2, bottom - 2, color, CornerBottomRight);
}

namespace {
// The pressed face: dark top and left lines, a short shadow fading down
// from the top, and the two left columns lightening towards the bottom.
void DrawPressedFace(TCanvas& canvas, TRect r) {
  const TColor dark = ShiftColor(FaceBaseColor, -20);
  const TColor mid = MixColors(dark, FaceLightColor, 50);
  const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  canvas.BrushStyle = TBrushStyle::Clear;
  SolidPen(canvas, dark);
  Line(canvas, L, T, R, T);
  Line(canvas, L, T, L, B);
  SolidPen(canvas, mid);
  Line(canvas, L + 1, T + 1, R, T + 1);
  Line(canvas, L + 1, T + 1, L + 1, B);
  FillGradient(canvas, {L + 1, T, R, T + 5}, mid, dark, true);
  FillGradient(canvas, {L + 1, T + 5, R, B}, FaceLightColor, mid, true);
  const TColor p1 = canvas.Pixel(L + 1, T + 2);
  FillGradient(canvas, {L + 1, T + 2, L + 2, B}, FaceLightColor, p1, true);
  const TColor p2 = canvas.Pixel(L + 2, T + 3);
  FillGradient(canvas, {L + 2, T + 3, L + 3, B}, FaceLightColor, p2, true);
}

// The raised face: two bevel rings (orange when hot on a button that is
// not flat) around a white (hot) or near-white gradient inside. Returns the
// frame colour the hot rings call for, or `frame`.
TColor DrawRaisedFace(TCanvas& canvas, TRect r, bool enabled, bool flat, bool hot, TColor frame) {
  if (enabled && !flat && hot) {
    const TColor orange = Rgb(230, 139, 44);
    DrawBevelFrame(canvas, r, MixColors(FaceHotColor, orange, 75), MixColors(FaceHotColor, orange, 25));
    r = InflatedRect(r, -1, -1);
    DrawBevelFrame(canvas, r, MixColors(FaceHotColor, orange, 85), MixColors(FaceHotColor, orange, 60));
    frame = Rgb(110, 151, 193);
  } else {
    DrawBevelFrame(canvas, r, Rgb(240, 240, 236), Rgb(214, 214, 198));
    r = InflatedRect(r, -1, -1);
    DrawBevelFrame(canvas, r, Rgb(245, 245, 241), Rgb(235, 235, 227));
  }
  r = InflatedRect(r, -1, -1);
  if (hot) {
    canvas.BrushStyle = TBrushStyle::Solid;
    canvas.BrushColor = FaceHotColor;
    canvas.FillRect(r);
  } else {
    FillGradient(canvas, r, Rgb(233, 232, 224), Rgb(254, 254, 253), true);
  }
  return frame;
}
}  // namespace

void DrawButtonFace(TCanvas& canvas, const TRect& r, bool enabled, bool pressed, bool flat, bool hot) {
  TColor frame = enabled ? FrameColor : FrameDisabledColor;
  const TRect inner = InflatedRect(r, -1, -1);
  if (pressed) {
    DrawPressedFace(canvas, inner);
    if (enabled && hot) frame = FrameHotPressedColor;
  } else {
    frame = DrawRaisedFace(canvas, inner, enabled, flat, hot, frame);
  }
  DrawRoundFrame(canvas, r, frame);
}
