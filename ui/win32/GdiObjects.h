#pragma once
// RAII for GDI: objects deleted when their owner goes, selections undone
// when their scope ends, and the fonts the framework uses, made once each.

#include <utility>

#include "ui/Canvas.h"
#include "ui/win32/WinApi.h"

template <typename Handle>
class TGdiObject {
public:
  TGdiObject() = default;
  explicit TGdiObject(Handle handle) : FHandle(handle) {}
  ~TGdiObject() { Reset(); }
  TGdiObject(TGdiObject&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
  TGdiObject& operator=(TGdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      FHandle = std::exchange(other.FHandle, nullptr);
    }
    return *this;
  }
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;

  Handle Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != nullptr; }
  void Reset(Handle handle = nullptr) {
    if (FHandle) DeleteObject(FHandle);
    FHandle = handle;
  }

private:
  Handle FHandle = nullptr;
};

// Selects an object into a device context for the scope.
class TSelection {
public:
  TSelection(HDC dc, HGDIOBJ object) : FDc(dc), FOld(SelectObject(dc, object)) {}
  ~TSelection() { SelectObject(FDc, FOld); }
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;

private:
  HDC FDc;
  HGDIOBJ FOld;
};

// A memory device context compatible with `reference` (none: the screen).
class TMemoryDC {
public:
  explicit TMemoryDC(HDC reference = nullptr) : FDc(CreateCompatibleDC(reference)) {}
  ~TMemoryDC() { DeleteDC(FDc); }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  HDC Get() const { return FDc; }

private:
  HDC FDc;
};

// The font handle for a framework font; made on first use, kept until the
// module unloads.
HFONT FontHandle(const TFont& font);
