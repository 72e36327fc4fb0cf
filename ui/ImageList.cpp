#include "ui/ImageList.h"

#include <stdexcept>

#include "ui/Bitmap.h"
#include "ui/Canvas.h"

TImageList::TImageList(int width, int height) : FWidth(width), FHeight(height) {}

int TImageList::AddEmpty() {
  const size_t size = static_cast<size_t>(FWidth) * FHeight;
  FImages.push_back({std::vector<TColor>(size, clBlack), std::vector<bool>(size, true)});
  return Count() - 1;
}

TImageList::TImage TImageList::Make(const TBitmap& image, TColor maskColor) const {
  const TColor mask = maskColor == clDefault ? image.Pixel(0, image.Height() - 1)
                      : maskColor == clNone  ? clNone
                                             : ColorToRGB(maskColor);
  TImage out;
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) {
      const TColor pixel = image.Pixel(x, y);
      const bool transparent = pixel == clInvalid || pixel == mask;
      out.Pixels.push_back(transparent ? clBlack : pixel);
      out.Transparent.push_back(transparent);
    }
  return out;
}

int TImageList::Add(const TBitmap& image, TColor maskColor) {
  FImages.push_back(Make(image, maskColor));
  return Count() - 1;
}

void TImageList::Replace(int index, const TBitmap& image, TColor maskColor) {
  FImages.at(index) = Make(image, maskColor);
}

TColor TImageList::Pixel(int index, int x, int y) const {
  return FImages.at(index).Pixels.at(static_cast<size_t>(y) * FWidth + x);
}

bool TImageList::Masked(int index, int x, int y) const {
  return FImages.at(index).Transparent.at(static_cast<size_t>(y) * FWidth + x);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, TColor background) const {
  if (index < 0 || index >= Count()) return;
  const TImage& image = FImages[index];
  for (int row = 0; row < FHeight; ++row)
    for (int column = 0; column < FWidth; ++column) {
      const size_t at = static_cast<size_t>(row) * FWidth + column;
      if (!image.Transparent[at]) canvas.SetPixel(x + column, y + row, image.Pixels[at]);
      else if (background != clNone) canvas.SetPixel(x + column, y + row, background);
    }
}
