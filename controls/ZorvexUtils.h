#pragma once
// Colour arithmetic and the small drawing routines of the controls' modern
// look, the colour count that chooses between the modern and the classic
// look, and the face colours computed once at start-up.

#include <cstdint>

#include "ui/Canvas.h"
#include "ui/Graphics.h"

// The display's colour count: 2 to the bits per pixel times planes when that
// is 8 or less, else 16777216.
int GetScreenColors();
// Tests stand in for the display: bits per pixel times planes that
// GetScreenColors then reports (0: ask the display again; natively 24).
void OverrideDisplayBits(int bits);

// The colour count, set by InitZorvexUtils, and the face colours; read-only.
extern int ScreenColors;
extern TColor FaceBaseColor, FaceHotColor, FaceLightColor, FrameColor, FrameHotPressedColor,
    FrameDisabledColor;
void InitZorvexUtils();
// The modern look: more than 256 colours.
inline bool ModernLook() { return ScreenColors > 256; }

float ColorDistance(TColor c1, TColor c2);
float ContrastThreshold(float brightness, float threshold);
bool HasContrast(TColor value, TColor against, bool adjust, float threshold);
void AdjustForContrast(TColor& value, TColor against, float threshold);
void EnsureContrast(TColor& value, TColor against, int minimum);
TColor MixColors(TColor c1, TColor c2, int weight);
TColor ShiftColor(TColor value, int delta);

void FillGradient(TCanvas& canvas, const TRect& r, TColor a, TColor b, bool vertical);
void DrawAlphaPixel(TCanvas& canvas, int x, int y, TColor color, int alpha);
void DrawAlphaCorner(TCanvas& canvas, int x, int y, TColor color, const std::uint8_t (&alphas)[9]);
void DrawBevelFrame(TCanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight);
void DrawRoundFrame(TCanvas& canvas, const TRect& r, TColor color);
void DrawButtonFace(TCanvas& canvas, const TRect& r, bool enabled, bool pressed, bool flat, bool hot);

// The four soft corners, rows of three alphas each.
extern const std::uint8_t CornerTopLeft[9], CornerTopRight[9], CornerBottomLeft[9], CornerBottomRight[9];
