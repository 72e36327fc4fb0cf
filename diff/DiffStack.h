#pragma once
// A stack (or an array indexed from 0) that keeps its first N entries
// inside the object and moves to the heap only beyond them: the walks of a
// short formula then allocate nothing. Entries above the size are left as
// they were; the caller writes an entry before reading it.

#include <cstddef>
#include <vector>

template <class T, std::size_t N>
class TSmallStack {
public:
  TSmallStack() = default;
  TSmallStack(const TSmallStack&) = delete;
  TSmallStack& operator=(const TSmallStack&) = delete;

  std::size_t Size() const { return FSize; }
  bool Empty() const { return FSize == 0; }
  T& operator[](std::size_t i) { return FData[i]; }
  T& Top() { return FData[FSize - 1]; }

  void Clear() { FSize = 0; }
  void Pop() { --FSize; }
  void Push(const T& value) {
    if (FSize == FCapacity) Grow(FSize + 1);
    FData[FSize++] = value;
  }
  // n entries, each set to value.
  void Assign(std::size_t n, const T& value) {
    if (n > FCapacity) Grow(n);
    for (std::size_t i = 0; i < n; ++i) FData[i] = value;
    FSize = n;
  }

private:
  void Grow(std::size_t atLeast) {
    std::vector<T> bigger(atLeast < 2 * FCapacity ? 2 * FCapacity : atLeast);
    for (std::size_t i = 0; i < FSize; ++i) bigger[i] = FData[i];
    FHeap.swap(bigger);
    FData = FHeap.data();
    FCapacity = FHeap.size();
  }

  T FInline[N];
  std::vector<T> FHeap;
  T* FData = FInline;
  std::size_t FSize = 0;
  std::size_t FCapacity = N;
};
