#pragma once
// Appending to a string through its storage: the string is grown ahead in
// large steps and its size set once at the end, so that the many short
// pieces of a printed derivative cost a copy each and no bookkeeping.

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

class TTextBuffer {
public:
  // Appends to out, from its present size on, until Finish.
  explicit TTextBuffer(std::string& out) : FOut(out), FSize(out.size()) {}
  TTextBuffer(const TTextBuffer&) = delete;
  TTextBuffer& operator=(const TTextBuffer&) = delete;

  std::size_t Size() const { return FSize; }
  const char* Data() const { return FOut.data(); }

  // Makes room for n more characters.
  void Room(std::size_t n) {
    if (FSize + n > FOut.size()) FOut.resize(std::max(2 * FOut.size(), FSize + n + 64));
  }
  void Put(std::string_view text) {
    Room(text.size());
    char* to = FOut.data() + FSize;
    if (text.size() <= 16) {
      for (const char c : text) *to++ = c;
    } else {
      std::memcpy(to, text.data(), text.size());
    }
    FSize += text.size();
  }
  void Put(char c) {
    Room(1);
    FOut[FSize++] = c;
  }
  // Copies size bytes of block but keeps only the first used; the rest is
  // overwritten later. Cheaper than a copy of varying length.
  void PutBlock(const char* block, std::size_t size, std::size_t used) {
    Room(size);
    std::memcpy(FOut.data() + FSize, block, size);
    FSize += used;
  }
  // A copy of text that the buffer already holds.
  void PutOwn(std::size_t off, std::size_t len) {
    Room(len);
    std::memmove(FOut.data() + FSize, FOut.data() + off, len);
    FSize += len;
  }
  void Finish() { FOut.resize(FSize); }

private:
  std::string& FOut;
  std::size_t FSize;
};
