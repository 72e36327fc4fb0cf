#pragma once
// A bitmap of plain RGB pixels with a canvas over them. Its transparent
// colour is the bottom-left pixel's unless one was set. Bitmaps come from
// pixels, from BMP bytes or from a named bitmap resource of the library.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "ui/Graphics.h"

class TRasterCanvas;

class TBitmap {
public:
  TBitmap();
  TBitmap(int width, int height, TColor fill = clWhite);
  ~TBitmap();
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;
  TBitmap(TBitmap&&) noexcept;
  TBitmap& operator=(TBitmap&&) noexcept;

  int Width() const;
  int Height() const;
  bool Empty() const { return Width() == 0 || Height() == 0; }
  // New pixels are white; the old ones keep their place.
  void SetSize(int width, int height);

  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);
  TRasterCanvas& Canvas() { return *FCanvas; }
  const TRasterCanvas& Canvas() const { return *FCanvas; }

  TColor TransparentColor() const;
  bool TransparentColorSet() const { return FTransparentSet; }
  void SetTransparentColor(TColor color);

  // Takes size, pixels and transparent colour of `source`; fires OnChange.
  void Assign(const TBitmap& source);
  // A BMP file or a packed DIB (header, colour table, bits): 1, 4, 8, 24 or
  // 32 bits per pixel, uncompressed. False leaves the bitmap unchanged.
  bool LoadFromBmp(std::span<const std::uint8_t> bytes);
  bool LoadFromResourceName(std::string_view name);

  // Called after every change made through Assign, the loaders or Changed.
  std::function<void(TBitmap&)> OnChange;
  void Changed();

private:
  std::unique_ptr<TRasterCanvas> FCanvas;
  TColor FTransparentColor = clNone;
  bool FTransparentSet = false;
};

// The library's bitmap resources by name. The Windows build looks in the
// module's resources first; both builds also find what was registered here
// (the native build registers the same BMP files at start-up).
std::span<const std::uint8_t> FindBitmapResource(std::string_view name);
void RegisterBitmapResource(std::string_view name, std::span<const std::uint8_t> bytes);
std::span<const std::uint8_t> FindRegisteredBitmapResource(std::string_view name);
