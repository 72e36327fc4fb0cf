#include "FormsTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <vector>

TControl& Find(TForm& form, const std::string& name) {
  auto* control = dynamic_cast<TControl*>(form.FindComponent(name));
  if (!control) throw std::runtime_error("no control " + name);
  return *control;
}

std::string TabSequence(const TWinControl& parent) {
  std::vector<TWinControl*> children;
  for (int i = 0; i < parent.ControlCount(); ++i)
    if (auto* windowed = dynamic_cast<TWinControl*>(parent.Controls(i))) children.push_back(windowed);
  std::ranges::stable_sort(children, {}, &TWinControl::TabOrder);
  std::string names;
  for (TWinControl* child : children) {
    names += child->Name() + " ";
    names += TabSequence(*child);
  }
  return names;
}

namespace {

std::uint32_t Crc(const std::string& bytes) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (unsigned char b : bytes) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
  }
  return ~crc;
}

std::string Be32(std::uint32_t v) {
  return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string Chunk(const std::string& type, const std::string& data) {
  return Be32(static_cast<std::uint32_t>(data.size())) + type + data + Be32(Crc(type + data));
}

// Stored (uncompressed) deflate blocks inside a zlib stream.
std::string Zlib(const std::string& raw) {
  std::string out = "\x78\x01";
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : raw) a = (a + c) % 65521, b = (b + a) % 65521;
  for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
    const size_t n = std::min<size_t>(65535, raw.size() - at);
    out += char(at + n >= raw.size() ? 1 : 0);
    out += {char(n), char(n >> 8), char(~n), char(~n >> 8)};
    out += raw.substr(at, n);
    if (raw.empty()) break;
  }
  return out + Be32(b << 16 | a);
}

void WritePng(const TRasterCanvas& canvas, const std::string& path) {
  std::string raw;
  for (int y = 0; y < canvas.Height(); ++y) {
    raw += '\0';
    for (int x = 0; x < canvas.Width(); ++x) {
      const TColor c = canvas.Pixel(x, y);
      raw += {char(RedOf(c)), char(GreenOf(c)), char(BlueOf(c))};
    }
  }
  const std::string header = Be32(canvas.Width()) + Be32(canvas.Height()) + std::string("\x08\x02\0\0\0", 5);
  std::ofstream(path, std::ios::binary) << "\x89PNG\r\n\x1a\n" << Chunk("IHDR", header)
                                        << Chunk("IDAT", Zlib(raw)) << Chunk("IEND", "");
}

}  // namespace

TRasterCanvas PaintForm(TForm& form, const std::string& pngName) {
  TRasterCanvas canvas(form.Width(), form.Height(), Rgb(1, 2, 3));
  form.PaintTo(canvas);
  if (const char* folder = std::getenv("VKT_SCREENSHOTS")) WritePng(canvas, std::string(folder) + "/" + pngName);
  return canvas;
}
