#pragma once
// Images of one size, each with a transparency mask.

#include <vector>

#include "ui/Graphics.h"

class TBitmap;
class TCanvas;

class TImageList {
public:
  TImageList(int width, int height);
  virtual ~TImageList() = default;
  TImageList(const TImageList&) = delete;
  TImageList& operator=(const TImageList&) = delete;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int Count() const { return static_cast<int>(FImages.size()); }

  // An image with every pixel transparent; returns its index.
  int AddEmpty();
  // The top-left Width x Height of `image`; pixels of `maskColor` become
  // transparent (clDefault: the image's bottom-left pixel colour, clNone:
  // none).
  int Add(const TBitmap& image, TColor maskColor);
  void Replace(int index, const TBitmap& image, TColor maskColor);

  // Transparent pixels are left unpainted, or painted in `background` when it
  // is not clNone.
  void Draw(TCanvas& canvas, int x, int y, int index, TColor background = clNone) const;
  TColor Pixel(int index, int x, int y) const;
  bool Masked(int index, int x, int y) const;

private:
  struct TImage {
    std::vector<TColor> Pixels;
    std::vector<bool> Transparent;
  };
  TImage Make(const TBitmap& image, TColor maskColor) const;

  int FWidth, FHeight;
  std::vector<TImage> FImages;
};
