#include "plugin/ProfileText.h"

#include <algorithm>

namespace {

// ---- encodings -------------------------------------------------------------

// Code points of the bytes 0x80 to 0x9F of Windows-1252; the five bytes the
// code page leaves free stand for the control characters of the same number.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char Cp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  const auto at = std::find(std::begin(kHigh), std::end(kHigh), c);
  return at == std::end(kHigh) ? '?' : static_cast<char>(0x80 + (at - std::begin(kHigh)));
}

// Each UTF-16 unit on its own: a surrogate pair becomes "??", as the system
// converts it.
std::string FromUtf16(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size() / 2 + 1);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
    out += Cp1252(static_cast<char32_t>(bigEndian ? (first << 8 | second) : (second << 8 | first)));
  }
  if (bytes.size() % 2) out += '?';
  return out;
}

// Sequence length after a lead byte; 0 for a byte that cannot lead.
int Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead < 0xC2) return 0;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return lead < 0xF5 ? 4 : 0;
}

// A malformed sequence becomes one "?" for its longest valid beginning, a
// second byte that is a continuation byte included, or for its one bad
// byte; a character beyond 16 bits "??", as two UTF-16 units.
std::string FromUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const auto lead = static_cast<unsigned char>(s[i]);
    const int length = Utf8Length(lead);
    unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    int n = 1;
    for (; n < length && i + n < s.size(); ++n, low = 0x80, high = 0xBF) {
      const auto next = static_cast<unsigned char>(s[i + n]);
      if (next < low || next > high) {
        if (next >= 0x80 && next <= 0xBF) ++n;  // overlong, surrogate or too large: one "?" with its lead
        break;
      }
      c = c << 6 | (next & 0x3F);
    }
    i += std::max(n, 1);
    if (n < length || length == 0)
      out += '?';
    else if (c >= 0x10000)
      out += "??";
    else
      out += Cp1252(c);
  }
  return out;
}

// The content as Windows-1252: itself, or its conversion kept in storage.
std::string_view AsCp1252(std::string_view content, std::string& storage) {
  if (content.starts_with("\xEF\xBB\xBF"))
    storage = FromUtf8(content.substr(3));
  else if (content.starts_with("\xFF\xFE") || content.starts_with("\xFE\xFF"))
    storage = FromUtf16(content.substr(2), content[0] == '\xFE');
  else
    return content;
  return storage;
}

// ---- lines, names and values -----------------------------------------------

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view UpToZero(std::string_view s) { return s.substr(0, s.find('\0')); }

// A name or value as the system keeps it: trimmed, then ended by a zero byte.
std::string_view Stored(std::string_view s) { return UpToZero(Trim(s)); }

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

// The value through the caller's buffer. A quoted value is copied with its
// closing quote, which is then dropped; so a quoted value of exactly
// kProfileValueMax characters loses its last one as well.
std::string Copied(std::string_view value) {
  const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                      value.back() == value.front();
  if (!quoted) return std::string(value.substr(0, kProfileValueMax));
  value.remove_prefix(1);
  std::string out(value.substr(0, kProfileValueMax));
  if (value.size() <= kProfileValueMax + 1) out.pop_back();
  return out;
}

// def loses its trailing spaces (not other blanks) before it is copied.
std::string Default(std::string_view def) {
  while (!def.empty() && def.back() == ' ') def.remove_suffix(1);
  return Copied(def);
}

}  // namespace

std::string FindProfileValue(std::string_view content, std::string_view section, std::string_view key,
                             std::string_view def) {
  std::string storage;
  std::string_view rest = AsCp1252(content, storage);
  section = Trim(section);
  key = Trim(key);
  bool inSection = section.empty();
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find_first_of("\r\n"), rest.size());
    const std::string_view line = Trim(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (line.empty()) continue;
    const std::size_t close = line.rfind(']');
    if (line.front() == '[' && close != std::string_view::npos) {
      if (inSection) break;  // a later section of the same name is not searched
      inSection = SameName(Stored(line.substr(1, close - 1)), section);
      continue;
    }
    if (!inSection) continue;
    const std::size_t equals = line.find('=');
    if (!SameName(Stored(line.substr(0, equals)), key)) continue;
    if (equals == std::string_view::npos) break;  // the first key of the name has no value
    return Copied(Stored(line.substr(equals + 1)));
  }
  return Default(def);
}
