#include "controls/ZorvexButtonGlyph.h"

#include <algorithm>

#include "controls/ZorvexUtils.h"
#include "ui/Canvas.h"
#include "ui/RasterCanvas.h"

std::unique_ptr<TZorvexGlyphCache> GlyphCache;

int TZorvexGlyphList::AllocateSlot() {
  int index = static_cast<int>(std::find(FUsed.begin(), FUsed.end(), false) - FUsed.begin());
  if (index >= static_cast<int>(FUsed.size())) {
    index = AddEmpty();
    FUsed.resize(index + 1);
  }
  FUsed[index] = true;
  return index;
}

int TZorvexGlyphList::AddImage(const TBitmap& image, TColor maskColor) {
  const int index = AllocateSlot();
  Replace(index, image, maskColor);
  ++FUsedCount;
  return index;
}

void TZorvexGlyphList::ReleaseImage(int index) {
  if (index < 0 || index >= static_cast<int>(FUsed.size()) || !FUsed[index]) return;
  --FUsedCount;
  FUsed[index] = false;
}

TZorvexGlyphList* TZorvexGlyphCache::AcquireList(int width, int height) {
  for (auto it = FLists.rbegin(); it != FLists.rend(); ++it)
    if ((*it)->Width() == width && (*it)->Height() == height) return it->get();
  FLists.push_back(std::make_unique<TZorvexGlyphList>(width, height));
  return FLists.back().get();
}

void TZorvexGlyphCache::ReleaseList(TZorvexGlyphList* list) {
  if (!list || list->UsedCount() != 0) return;
  std::erase_if(FLists, [list](const auto& held) { return held.get() == list; });
}

TZorvexButtonGlyph::TZorvexButtonGlyph() {
  FOriginal.OnChange = [this](TBitmap& sender) { SourceChanged(sender); };
  if (!GlyphCache) GlyphCache = std::make_unique<TZorvexGlyphCache>();
}

TZorvexButtonGlyph::~TZorvexButtonGlyph() {
  FOriginal.OnChange = nullptr;
  ReleaseImages();
  if (GlyphCache && GlyphCache->IsEmpty()) GlyphCache.reset();
}

void TZorvexButtonGlyph::ReleaseImages() {
  for (int& index : FIndexs) {
    if (index != -1 && FGlyphList) FGlyphList->ReleaseImage(index);
    index = -1;
  }
  if (GlyphCache) GlyphCache->ReleaseList(FGlyphList);
  FGlyphList = nullptr;
}

void TZorvexButtonGlyph::SourceChanged(TBitmap& sender) {
  if (&sender != &FOriginal) return;
  FTransparentColor = FOriginal.TransparentColor();
  ReleaseImages();
  if (OnChange) OnChange(*this);
}

void TZorvexButtonGlyph::SetGlyphBitmap(const TBitmap* bitmap) {
  ReleaseImages();
  const TBitmap empty;
  FOriginal.Assign(bitmap ? *bitmap : empty);
  if (bitmap && bitmap->Height() > 0) {
    FTransparentColor = bitmap->TransparentColor();
    if (bitmap->Width() % bitmap->Height() == 0) {
      int count = bitmap->Width() / bitmap->Height();
      if (count > 4) count = 1;
      SetGlyphCount(count);
    }
  }
}

void TZorvexButtonGlyph::SetGlyphCount(int count) {
  if (count == FNumGlyphs || count <= 0) return;
  ReleaseImages();
  FNumGlyphs = count;
  SourceChanged(FOriginal);
}

void TZorvexButtonGlyph::CopyCell(TBitmap& target, int cell) const {
  const int width = target.Width();
  for (int y = 0; y < target.Height(); ++y)
    for (int x = 0; x < width; ++x) target.SetPixel(x, y, FOriginal.Pixel(cell * width + x, y));
}

int TZorvexButtonGlyph::MakeStateImage(TButtonState state) {
  if (state == StateLatched && FNumGlyphs < 3) state = StateDown;
  if (state == StateDown && FNumGlyphs < 2) state = StateUp;
  if (FIndexs[state] != -1) return FIndexs[state];
  if (FOriginal.Width() == 0 && FOriginal.Height() == 0) return -1;

  const int width = FOriginal.Width() / FNumGlyphs, height = FOriginal.Height();
  if (!FGlyphList) {
    if (!GlyphCache) GlyphCache = std::make_unique<TZorvexGlyphCache>();
    FGlyphList = GlyphCache->AcquireList(width, height);
  }
  TBitmap image(width, height, clBtnFace);
  image.Canvas().BrushColor = clBtnFace;
  const int cell = state < FNumGlyphs ? state : 0;

  if (state == StateUp || state == StateDown || state == StateLatched) {
    CopyCell(image, cell);
    FIndexs[state] = FGlyphList->AddImage(image, FOriginal.TransparentColorSet() ? FTransparentColor : clDefault);
  } else if (ModernLook()) {
    // Disabled: the glyph at 20 % over the button face.
    CopyCell(image, cell);
    const TColor transparent = image.TransparentColor();
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (image.Pixel(x, y) != transparent) image.SetPixel(x, y, MixColors(image.Pixel(x, y), clBtnFace, 20));
    FIndexs[state] = FGlyphList->AddImage(image, transparent);
  } else if (FNumGlyphs >= 2) {
    // Disabled, classic, own picture: its white, grey and transparent
    // pixels take the system's highlight, shadow and face colours.
    CopyCell(image, cell);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const TColor source = FOriginal.Pixel(cell * width + x, y);
        if (source == clWhite) image.SetPixel(x, y, clBtnHighlight);
        if (source == clGray) image.SetPixel(x, y, clBtnShadow);
        if (source == ColorToRGB(FTransparentColor)) image.SetPixel(x, y, clBtnFace);
      }
    FIndexs[state] = FGlyphList->AddImage(image, clDefault);
  } else {
    // Disabled, classic, one picture: embossed from the pixels that are not
    // transparent, in highlight one pixel down and right, shadow in place.
    const TColor transparent = ColorToRGB(FTransparentColor);
    image.Canvas().BrushStyle = TBrushStyle::Solid;
    image.Canvas().FillRect({0, 0, width, height});
    for (const TColor color : {clBtnHighlight, clBtnShadow}) {
      const int shift = color == clBtnHighlight ? 1 : 0;
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
          if (FOriginal.Pixel(x, y) != transparent) image.SetPixel(x + shift, y + shift, color);
    }
    FIndexs[state] = FGlyphList->AddImage(image, clDefault);
  }
  return FIndexs[state];
}

void TZorvexButtonGlyph::DrawGlyphImage(TCanvas& canvas, TPoint position, TButtonState state, bool transparent) {
  if (FOriginal.Empty()) return;
  const int index = MakeStateImage(state);
  if (index < 0 || !FGlyphList) return;
  const bool masked = transparent || state == StateLatched;
  FGlyphList->Draw(canvas, position.X, position.Y, index, masked ? clNone : ColorToRGB(clBtnFace));
}

void TZorvexButtonGlyph::DrawCaptionText(TCanvas& canvas, std::string_view caption, TRect r, TButtonState state,
                                         unsigned flags) {
  canvas.BrushStyle = TBrushStyle::Clear;
  flags |= dtCenter | dtVCenter;
  if (state == StateDisabled) {
    const TColor saved = canvas.Font.Color;
    TRect shifted = OffsetRect(r, 1, 1);
    canvas.Font.Color = clBtnHighlight;
    canvas.DrawText(caption, shifted, flags);
    canvas.Font.Color = clBtnShadow;
    canvas.DrawText(caption, r, flags);
    canvas.Font.Color = saved;
  } else {
    canvas.DrawText(caption, r, flags);
  }
}

// Sizes are (x, y) pairs; the layout axis is x for glyph left or right,
// y for glyph top or bottom. Divisions truncate toward zero.
void TZorvexButtonGlyph::ComputeLayout(TCanvas& canvas, const TRect& client, TPoint offset, std::string_view caption,
                                       TButtonLayout layout, int margin, int spacing, TPoint& glyphPos,
                                       TRect& textBounds, unsigned flags) {
  if (flags & dtRight) {
    if (layout == TButtonLayout::blGlyphLeft) layout = TButtonLayout::blGlyphRight;
    else if (layout == TButtonLayout::blGlyphRight) layout = TButtonLayout::blGlyphLeft;
  }
  const TPoint clientSize{client.Right - client.Left, client.Bottom - client.Top};
  TPoint glyphSize{};
  if (!FOriginal.Empty()) glyphSize = {FOriginal.Width() / FNumGlyphs, FOriginal.Height()};
  TPoint textSize{};
  textBounds = {0, 0, 0, 0};
  if (!caption.empty()) {
    textBounds = {0, 0, clientSize.X, 0};
    canvas.DrawText(caption, textBounds, flags | dtCalcRect);
    textSize = {textBounds.Right - textBounds.Left, textBounds.Bottom - textBounds.Top};
  }
  TPoint textPos{};
  const bool horizontal = layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
  if (horizontal) {
    glyphPos.Y = (clientSize.Y - glyphSize.Y + 1) / 2;
    textPos.Y = (clientSize.Y - textSize.Y + 1) / 2;
  } else {
    glyphPos.X = (clientSize.X - glyphSize.X + 1) / 2;
    textPos.X = (clientSize.X - textSize.X + 1) / 2;
  }
  if (textSize.X == 0 || glyphSize.X == 0) spacing = 0;

  auto axis = [horizontal](TPoint p) { return horizontal ? p.X : p.Y; };
  const int clientAxis = axis(clientSize), glyphAxis = axis(glyphSize), textAxis = axis(textSize);
  if (margin == -1) {
    if (spacing == -1) {
      margin = (clientAxis - (glyphAxis + textAxis)) / 3;
      spacing = margin;
    } else {
      margin = (clientAxis - (glyphAxis + spacing + textAxis) + 1) / 2;
    }
  } else if (spacing == -1) {
    spacing = (clientAxis - (margin + glyphAxis) - textAxis) / 2;
  }

  switch (layout) {
    case TButtonLayout::blGlyphLeft:
      glyphPos.X = margin;
      textPos.X = glyphPos.X + glyphSize.X + spacing;
      break;
    case TButtonLayout::blGlyphRight:
      glyphPos.X = clientSize.X - margin - glyphSize.X;
      textPos.X = glyphPos.X - spacing - textSize.X;
      break;
    case TButtonLayout::blGlyphTop:
      glyphPos.Y = margin;
      textPos.Y = glyphPos.Y + glyphSize.Y + spacing;
      break;
    case TButtonLayout::blGlyphBottom:
      glyphPos.Y = clientSize.Y - margin - glyphSize.Y;
      textPos.Y = glyphPos.Y - spacing - textSize.Y;
      break;
  }
  glyphPos = {glyphPos.X + client.Left + offset.X, glyphPos.Y + client.Top + offset.Y};
  textBounds = OffsetRect(textBounds, textPos.X + client.Left + offset.X, textPos.Y + client.Top + offset.Y);
}

TRect TZorvexButtonGlyph::DrawContent(TCanvas& canvas, const TRect& client, TPoint offset, std::string_view caption,
                                      TButtonLayout layout, int margin, int spacing, TButtonState state,
                                      bool transparent, unsigned flags) {
  TPoint glyphPos;
  TRect textBounds;
  ComputeLayout(canvas, client, offset, caption, layout, margin, spacing, glyphPos, textBounds, flags);
  DrawGlyphImage(canvas, glyphPos, state, transparent);
  DrawCaptionText(canvas, caption, textBounds, state, flags);
  return textBounds;
}
