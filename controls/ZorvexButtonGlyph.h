#pragma once
// The glyph side of the speed button: ready-made images per button state,
// kept in image lists that every glyph of the same cell size shares, and
// the layout and drawing of glyph and caption inside the button.

#include <functional>
#include <memory>
#include <vector>

#include "ui/Bitmap.h"
#include "ui/ImageList.h"

// The values index the images and the cells of a glyph bitmap.
enum TButtonState { StateUp = 0, StateDisabled = 1, StateDown = 2, StateLatched = 3 };
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// An image list whose freed slots are reused.
class TZorvexGlyphList : public TImageList {
public:
  TZorvexGlyphList(int width, int height) : TImageList(width, height) {}

  int AllocateSlot();
  int AddImage(const TBitmap& image, TColor maskColor);
  void ReleaseImage(int index);
  int UsedCount() const { return FUsedCount; }

private:
  std::vector<bool> FUsed;
  int FUsedCount = 0;
};

// One glyph list per image size; a list goes when its last image does.
class TZorvexGlyphCache {
public:
  TZorvexGlyphList* AcquireList(int width, int height);
  void ReleaseList(TZorvexGlyphList* list);
  bool IsEmpty() const { return FLists.empty(); }
  int ListCount() const { return static_cast<int>(FLists.size()); }

private:
  std::vector<std::unique_ptr<TZorvexGlyphList>> FLists;
};

// The library's one cache, from the first button glyph until the last one
// goes while the cache is empty.
extern std::unique_ptr<TZorvexGlyphCache> GlyphCache;

class TCanvas;

class TZorvexButtonGlyph {
public:
  TZorvexButtonGlyph();
  ~TZorvexButtonGlyph();
  TZorvexButtonGlyph(const TZorvexButtonGlyph&) = delete;
  TZorvexButtonGlyph& operator=(const TZorvexButtonGlyph&) = delete;

  const TBitmap& GlyphBitmap() const { return FOriginal; }
  // A copy of `bitmap` (none: empty); a width that is 1 to 4 times the
  // height also sets the image count.
  void SetGlyphBitmap(const TBitmap* bitmap);
  int NumGlyphs() const { return FNumGlyphs; }
  void SetGlyphCount(int count);
  TColor TransparentColor() const { return FTransparentColor; }
  TZorvexGlyphList* GlyphList() const { return FGlyphList; }
  int ImageIndex(TButtonState state) const { return FIndexs[state]; }

  void ReleaseImages();
  int MakeStateImage(TButtonState state);
  void DrawGlyphImage(TCanvas& canvas, TPoint position, TButtonState state, bool transparent);
  void DrawCaptionText(TCanvas& canvas, std::string_view caption, TRect r, TButtonState state, unsigned flags);
  void ComputeLayout(TCanvas& canvas, const TRect& client, TPoint offset, std::string_view caption,
                     TButtonLayout layout, int margin, int spacing, TPoint& glyphPos, TRect& textBounds,
                     unsigned flags);
  TRect DrawContent(TCanvas& canvas, const TRect& client, TPoint offset, std::string_view caption,
                    TButtonLayout layout, int margin, int spacing, TButtonState state, bool transparent,
                    unsigned flags);

  std::function<void(TZorvexButtonGlyph&)> OnChange;

private:
  void SourceChanged(TBitmap& sender);
  void CopyCell(TBitmap& target, int cell) const;

  TBitmap FOriginal;
  TZorvexGlyphList* FGlyphList = nullptr;
  int FIndexs[4] = {-1, -1, -1, -1};
  TColor FTransparentColor = clOlive;
  int FNumGlyphs = 1;
};
