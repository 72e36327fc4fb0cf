#include "ui/Bitmap.h"

#include <map>
#include <string>

#include "ui/RasterCanvas.h"

TBitmap::TBitmap() : FCanvas(std::make_unique<TRasterCanvas>(0, 0, clWhite)) {}

TBitmap::TBitmap(int width, int height, TColor fill)
    : FCanvas(std::make_unique<TRasterCanvas>(width, height, fill)) {}

TBitmap::~TBitmap() = default;
TBitmap::TBitmap(TBitmap&&) noexcept = default;
TBitmap& TBitmap::operator=(TBitmap&&) noexcept = default;

int TBitmap::Width() const { return FCanvas->Width(); }
int TBitmap::Height() const { return FCanvas->Height(); }
void TBitmap::SetSize(int width, int height) { FCanvas->SetSize(width, height, clWhite); }

TColor TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return clInvalid;
  return FCanvas->Pixels()[static_cast<size_t>(y) * Width() + x];
}

void TBitmap::SetPixel(int x, int y, TColor color) {
  FCanvas->SetDevicePixel(x, y, color);
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentSet) return FTransparentColor;
  return Empty() ? clNone : Pixel(0, Height() - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
  FTransparentColor = ColorToRGB(color);
  FTransparentSet = true;
}

void TBitmap::Changed() {
  if (OnChange) OnChange(*this);
}

void TBitmap::Assign(const TBitmap& source) {
  if (&source != this) {
    FCanvas->SetSize(0, 0, clWhite);
    FCanvas->SetSize(source.Width(), source.Height(), clWhite);
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < Width(); ++x) SetPixel(x, y, source.Pixel(x, y));
    FTransparentColor = source.FTransparentColor;
    FTransparentSet = source.FTransparentSet;
  }
  Changed();
}

namespace {

std::uint32_t ReadLE(std::span<const std::uint8_t> bytes, size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
  return value;
}

}  // namespace

bool TBitmap::LoadFromBmp(std::span<const std::uint8_t> bytes) {
  if (bytes.size() >= 14 && bytes[0] == 'B' && bytes[1] == 'M') bytes = bytes.subspan(14);
  if (bytes.size() < 40) return false;
  const std::uint32_t headerSize = ReadLE(bytes, 0, 4);
  const int width = static_cast<std::int32_t>(ReadLE(bytes, 4, 4));
  const int rawHeight = static_cast<std::int32_t>(ReadLE(bytes, 8, 4));
  const int bits = static_cast<int>(ReadLE(bytes, 14, 2));
  const std::uint32_t compression = ReadLE(bytes, 16, 4);
  std::uint32_t colours = ReadLE(bytes, 32, 4);
  if (headerSize < 40 || width <= 0 || rawHeight == 0 || compression != 0 || width > 4096) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  const int height = rawHeight < 0 ? -rawHeight : rawHeight;
  if (height > 4096) return false;
  if (bits <= 8 && colours == 0) colours = 1u << bits;
  const size_t palette = headerSize;
  const size_t pixels = palette + (bits <= 8 ? colours * 4 : 0);
  const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  if (bytes.size() < pixels + stride * height) return false;

  FCanvas->SetSize(0, 0, clWhite);
  FCanvas->SetSize(width, height, clWhite);
  for (int row = 0; row < height; ++row) {
    const size_t line = pixels + stride * row;
    const int y = rawHeight > 0 ? height - 1 - row : row;
    for (int x = 0; x < width; ++x) {
      TColor color;
      if (bits <= 8) {
        const size_t bit = static_cast<size_t>(x) * bits;
        const unsigned index = (bytes[line + bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        if (index >= colours) return false;
        const size_t entry = palette + index * 4;
        color = Rgb(bytes[entry + 2], bytes[entry + 1], bytes[entry]);
      } else {
        const size_t at = line + static_cast<size_t>(x) * (bits / 8);
        color = Rgb(bytes[at + 2], bytes[at + 1], bytes[at]);
      }
      SetPixel(x, y, color);
    }
  }
  FTransparentSet = false;
  Changed();
  return true;
}

namespace {
std::map<std::string, std::span<const std::uint8_t>, std::less<>>& Registered() {
  static std::map<std::string, std::span<const std::uint8_t>, std::less<>> resources;
  return resources;
}
}  // namespace

void RegisterBitmapResource(std::string_view name, std::span<const std::uint8_t> bytes) {
  Registered()[std::string(name)] = bytes;
}

std::span<const std::uint8_t> FindRegisteredBitmapResource(std::string_view name) {
  const auto found = Registered().find(name);
  return found == Registered().end() ? std::span<const std::uint8_t>() : found->second;
}

bool TBitmap::LoadFromResourceName(std::string_view name) {
  const auto bytes = FindBitmapResource(name);
  return !bytes.empty() && LoadFromBmp(bytes);
}

// Written here rather than in Canvas.cpp, so that the canvas need not know
// bitmaps (a bitmap holds a raster canvas).
void TCanvas::Draw(int x, int y, const TBitmap& bitmap, TColor transparent) {
  const TColor skip = transparent == clNone ? clNone : ColorToRGB(transparent);
  for (int row = 0; row < bitmap.Height(); ++row)
    for (int column = 0; column < bitmap.Width(); ++column) {
      const TColor pixel = bitmap.Pixel(column, row);
      if (pixel != skip) SetPixel(x + column, y + row, pixel);
    }
}
