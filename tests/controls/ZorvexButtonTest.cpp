#include "ControlsTestUtil.h"

#include "controls/ZorvexButton.h"
#include "ui/Action.h"
#include "ui/Panel.h"

namespace {
TBitmap Glyph(int width, int height, TColor transparent = clFuchsia) {
  TBitmap bitmap(width, height, clRed);
  bitmap.SetPixel(0, height - 1, transparent);
  bitmap.SetPixel(1, height - 1, transparent);
  return bitmap;
}

// A parent with buttons at (10, 10) and (40, 10), driven by mouse messages
// in the parent's coordinates.
struct TScene {
  TPanel Parent{nullptr};
  TZorvexButton A{nullptr}, B{nullptr};
  int ClicksA = 0, ClicksB = 0;
  TScene() {
    Parent.SetBounds(0, 0, 100, 50);
    Parent.SetBevelOuter(TBevelCut::None);
    A.SetParent(&Parent);
    B.SetParent(&Parent);
    A.SetBounds(10, 10, 24, 24);
    B.SetBounds(40, 10, 24, 24);
    A.OnClick = [this](TControl&) { ++ClicksA; };
    B.OnClick = [this](TControl&) { ++ClicksB; };
  }
  void Move(int x, int y, bool held = false) { Parent.Perform(MSG_MOUSEMOVE, held ? mkLeft : 0, MousePos(x, y)); }
  void Press(int x, int y) { Parent.Perform(MSG_LBUTTONDOWN, mkLeft, MousePos(x, y)); }
  void Release(int x, int y) { Parent.Perform(MSG_LBUTTONUP, 0, MousePos(x, y)); }
  void Click(int x, int y) { Move(x, y); Press(x, y); Release(x, y); }
};
}  // namespace

TEST(ZorvexButtonGlyph, CellsFromTheBitmapShape) {
  struct Case { int width, height, want; } cases[] = {{20, 20, 1}, {80, 20, 4}, {120, 20, 1}, {40, 20, 2}, {30, 20, 2}};
  TZorvexButtonGlyph glyph;
  for (const Case& c : cases) {  // 30 x 20 keeps the count before it
    const TBitmap bitmap = Glyph(c.width, c.height);
    glyph.SetGlyphBitmap(&bitmap);
    EXPECT_EQ(glyph.NumGlyphs(), c.want) << c.width;
  }
}

TEST(ZorvexButtonGlyph, StatesWithoutTheirOwnCellShareTheUpImage) {
  TZorvexButtonGlyph glyph;
  const TBitmap one = Glyph(20, 20);
  glyph.SetGlyphBitmap(&one);
  const int up = glyph.MakeStateImage(StateUp);
  EXPECT_EQ(glyph.MakeStateImage(StateLatched), up);
  EXPECT_EQ(glyph.MakeStateImage(StateDown), up);
  TBitmap two = Glyph(40, 20);  // cell 0 red, cell 1 (disabled) blue
  two.Canvas().BrushColor = clBlue;
  two.Canvas().FillRect({20, 0, 40, 19});
  glyph.SetGlyphBitmap(&two);
  const int down = glyph.MakeStateImage(StateDown), disabled = glyph.MakeStateImage(StateDisabled);
  EXPECT_EQ(glyph.GlyphList()->Pixel(down, 5, 5), clRed);  // no cell of its own: the up picture
  EXPECT_NE(glyph.GlyphList()->Pixel(disabled, 5, 5), glyph.GlyphList()->Pixel(down, 5, 5));
}

TEST(ZorvexButtonGlyph, ListsSharedBySizeSlotsReusedAndFreed) {
  {
    TZorvexButtonGlyph a, b, c;
    const TBitmap bitmap = Glyph(20, 20);
    a.SetGlyphBitmap(&bitmap);
    b.SetGlyphBitmap(&bitmap);
    c.SetGlyphBitmap(&bitmap);
    EXPECT_EQ(a.MakeStateImage(StateUp), 0);
    EXPECT_EQ(b.MakeStateImage(StateUp), 1);
    EXPECT_EQ(a.GlyphList(), b.GlyphList());
    EXPECT_EQ(GlyphCache->ListCount(), 1);
    TZorvexGlyphList* list = a.GlyphList();
    b.ReleaseImages();  // slot 1 freed for the next image of this size
    EXPECT_EQ(c.MakeStateImage(StateUp), 1);
    EXPECT_EQ(list->Count(), 2);
    a.ReleaseImages();
    c.ReleaseImages();
    EXPECT_TRUE(GlyphCache->IsEmpty());  // the last image gone: the list too
  }
  EXPECT_EQ(GlyphCache, nullptr);  // and the cache with the last glyph
}

TEST(ZorvexButtonGlyph, DisabledModernImageAtTwentyPercentKeepsTransparency) {
  TDisplay display(32);
  TZorvexButtonGlyph glyph;
  const TBitmap bitmap = Glyph(20, 20);
  glyph.SetGlyphBitmap(&bitmap);
  const int index = glyph.MakeStateImage(StateDisabled);
  EXPECT_TRUE(glyph.GlyphList()->Masked(index, 0, 19));
  EXPECT_FALSE(glyph.GlyphList()->Masked(index, 5, 5));
  EXPECT_EQ(glyph.GlyphList()->Pixel(index, 5, 5), MixColors(clRed, clBtnFace, 20));
}

TEST(ZorvexButtonGlyph, LayoutOfTheDefaultButton) {
  TZorvexButtonGlyph glyph;
  const TBitmap bitmap = Glyph(20, 20);
  glyph.SetGlyphBitmap(&bitmap);
  TRasterCanvas canvas(24, 24, kBack);
  TPoint at;
  TRect text;
  glyph.ComputeLayout(canvas, {0, 0, 24, 24}, {1, 1}, "", TButtonLayout::blGlyphLeft, -1, 4, at, text, 0);
  EXPECT_EQ(at, (TPoint{3, 3}));  // (2, 2) and the pressed offset
  // With a caption: glyph and text centred as a group, 4 apart.
  TRasterCanvas wide(100, 24, kBack);
  glyph.ComputeLayout(wide, {0, 0, 100, 24}, {0, 0}, "abc", TButtonLayout::blGlyphLeft, -1, 4, at, text, 0);
  EXPECT_EQ(at, (TPoint{31, 2}));
  EXPECT_EQ(text, (TRect{55, 6, 70, 19}));
}

TEST(ZorvexButton, PressMoveOutReleaseDoesNotClick) {
  TScene s;
  s.Move(20, 20);
  s.Press(20, 20);
  EXPECT_EQ(s.A.State(), StateDown);
  s.Move(20, 34, true);  // y = client height still counts as inside
  EXPECT_EQ(s.A.State(), StateDown);
  s.Move(34, 20, true);  // x = client width does not
  EXPECT_EQ(s.A.State(), StateUp);
  s.Release(80, 40);
  EXPECT_EQ(s.ClicksA, 0);
  EXPECT_FALSE(s.A.Tracking());
  s.Click(20, 20);
  EXPECT_EQ(s.ClicksA, 1);
  EXPECT_EQ(s.A.State(), StateUp);
}

TEST(ZorvexButton, GroupsActLikeRadioButtonsThatStayDown) {
  TScene s;
  s.A.SetGroupIndex(1);
  s.B.SetGroupIndex(1);
  s.Click(20, 20);
  EXPECT_TRUE(s.A.Down());
  EXPECT_EQ(s.A.State(), StateLatched);
  s.Click(50, 20);
  EXPECT_TRUE(s.B.Down());
  EXPECT_FALSE(s.A.Down());
  EXPECT_EQ(s.A.State(), StateUp);
  s.Click(50, 20);  // allow all up false: stays down, still clicks
  EXPECT_TRUE(s.B.Down());
  EXPECT_EQ(s.ClicksB, 2);
  s.A.SetAllowAllUp(true);  // shared by the group
  EXPECT_TRUE(s.B.AllowAllUp());
  s.Click(50, 20);
  EXPECT_FALSE(s.B.Down());
}

TEST(ZorvexButton, PropertyBounds) {
  TScene s;
  s.A.SetDown(true);  // group 0: never down
  EXPECT_FALSE(s.A.Down());
  s.A.SetNumGlyphs(7);
  EXPECT_EQ(s.A.NumGlyphs(), 4);
  s.A.SetMargin(-5);
  EXPECT_EQ(s.A.Margin(), -1);
  s.A.SetMargin(3);
  EXPECT_EQ(s.A.Margin(), 3);
}

TEST(ZorvexButton, DisabledButtonIgnoresTheMouse) {
  TScene s;
  s.A.SetEnabled(false);
  s.Click(20, 20);
  EXPECT_EQ(s.ClicksA, 0);
  EXPECT_FALSE(s.A.Hot());
  TRasterCanvas canvas(100, 50, kBack);
  s.Parent.PaintTo(canvas);
  EXPECT_EQ(s.A.State(), StateDisabled);
  EXPECT_EQ(canvas.Pixel(22, 10), Rgb(189, 189, 189));  // the disabled frame
}

TEST(ZorvexButton, HotTrackingAndTheFlatFace) {
  TDisplay display(32);
  TScene s;
  s.Parent.SetColor(clWhite);
  s.A.SetFlat(true);
  TRasterCanvas canvas(100, 50, kBack);
  s.Parent.SetSurface(&canvas);
  s.Parent.Update();
  s.Move(5, 5);
  EXPECT_EQ(canvas.Pixel(22, 10), clWhite);  // at rest: only the parent's colour
  EXPECT_EQ(canvas.Pixel(22, 22), clWhite);
  s.Move(20, 20);
  EXPECT_TRUE(s.A.Hot());
  EXPECT_EQ(canvas.Pixel(22, 10), Rgb(128, 169, 211));  // under the mouse: the face
  EXPECT_EQ(canvas.Pixel(11, 22), Rgb(240, 240, 236));  // grey bevel, white inside
  EXPECT_EQ(canvas.Pixel(22, 22), clWhite);
  s.Move(50, 20);
  EXPECT_FALSE(s.A.Hot());
  EXPECT_TRUE(s.B.Hot());
  EXPECT_EQ(canvas.Pixel(22, 10), clWhite);
}

TEST(ZorvexButton, ActionGivesCaptionCommandAndItsImageAsGlyph) {
  TImageList images(20, 20);
  images.Add(Glyph(20, 20), clDefault);
  TActionList list;
  list.Images = &images;
  TAction action(&list);
  action.Caption = "Insert";
  action.ImageIndex = 0;
  int runs = 0;
  action.OnExecute = [&](TAction&) { ++runs; };
  TScene s;
  s.B.OnClick = nullptr;
  s.B.SetAction(&action);
  EXPECT_EQ(s.B.Caption(), "Insert");
  EXPECT_EQ(s.B.Glyph().Width(), 20);
  EXPECT_EQ(s.B.Glyph().Pixel(0, 19), clFuchsia);  // transparent pixels over fuchsia
  EXPECT_EQ(s.B.Glyph().Pixel(5, 5), clRed);
  s.Click(50, 20);
  EXPECT_EQ(runs, 1);
}

TEST(ZorvexButton, AcceleratorClicks) {
  TScene s;
  s.A.SetCaption("&Go");
  EXPECT_EQ(s.Parent.Perform(CM_DIALOGCHAR, 'x'), 0);
  EXPECT_EQ(s.Parent.Perform(CM_DIALOGCHAR, 'G'), 1);
  EXPECT_EQ(s.ClicksA, 1);
}

// The cell each state takes with 1 to 4 cells of distinct colours: latched
// falls back to down below three cells, down to up below two, and a state
// without a cell of its own takes cell 0. Disabled shows its cell at 20 %.
TEST(ZorvexButtonGlyph, CellChosenForEveryStateAndCellCount) {
  TDisplay display(32);
  const TColor cells[4] = {clRed, Rgb(0, 255, 0), clBlue, Rgb(255, 255, 0)};
  const int want[4][4] = {  // [count - 1][state]: up, disabled, down, latched
      {0, 0, 0, 0}, {0, 1, 0, 0}, {0, 1, 2, 0}, {0, 1, 2, 3}};
  for (int count = 1; count <= 4; ++count) {
    TBitmap bitmap(10 * count, 10, clFuchsia);
    for (int i = 0; i < count; ++i) {
      bitmap.Canvas().BrushColor = cells[i];
      bitmap.Canvas().FillRect({10 * i, 0, 10 * i + 10, 9});
    }
    TZorvexButtonGlyph glyph;
    glyph.SetGlyphBitmap(&bitmap);
    ASSERT_EQ(glyph.NumGlyphs(), count);
    for (const TButtonState state : {StateUp, StateDisabled, StateDown, StateLatched}) {
      const TColor cell = cells[want[count - 1][state]];
      const int index = glyph.MakeStateImage(state);
      EXPECT_EQ(Hex(glyph.GlyphList()->Pixel(index, 5, 5)),
                Hex(state == StateDisabled ? MixColors(cell, clBtnFace, 20) : cell))
          << count << " cells, state " << state;
    }
  }
}

// One cell, classic look: the glyph's opaque pixels in the shadow colour in
// place, over the highlight colour one pixel right and down, on the face.
TEST(ZorvexButtonGlyph, ClassicDisabledEmbossHighlightUnderTheShadow) {
  TDisplay display(8);
  TBitmap bitmap(8, 8, clFuchsia);  // a cross with a longer right arm
  for (int i = 1; i < 7; ++i) bitmap.SetPixel(i, 3, clBlack);
  for (int i = 1; i < 6; ++i) bitmap.SetPixel(2, i, clBlack);
  TZorvexButtonGlyph glyph;
  glyph.SetGlyphBitmap(&bitmap);
  TRasterCanvas canvas(8, 8, kBack);
  glyph.DrawGlyphImage(canvas, {0, 0}, StateDisabled, false);
  auto opaque = [&](int x, int y) { return x >= 0 && y >= 0 && bitmap.Pixel(x, y) != clFuchsia; };
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const TColor want = opaque(x, y) ? SysColor(16) : opaque(x - 1, y - 1) ? SysColor(20) : SysColor(15);
      ASSERT_EQ(Hex(canvas.Pixel(x, y)), Hex(want)) << x << "," << y;
    }
}

// The face the button paints in each state its mouse rules can reach, flat
// and not: the face routine with the enabled, pressed and hot the rules
// give, or (flat, at rest) only the parent's colour.
TEST(ZorvexButton, FaceInEveryReachableState) {
  TDisplay display(32);
  struct Case {
    const char* name;
    void (*reach)(TScene&);
    TButtonState state;
    bool enabled, pressed, hot, flatShowsFace;
  } cases[] = {
      {"at rest", [](TScene& s) { s.Move(5, 5); }, StateUp, true, false, false, false},
      {"hot", [](TScene& s) { s.Move(20, 20); }, StateUp, true, false, true, true},
      {"held", [](TScene& s) { s.Move(20, 20), s.Press(20, 20); }, StateDown, true, true, true, true},
      {"held, dragged out", [](TScene& s) { s.Move(20, 20), s.Press(20, 20), s.Move(80, 40, true); },
       StateUp, true, false, true, true},
      {"held, dragged out and back",
       [](TScene& s) { s.Move(20, 20), s.Press(20, 20), s.Move(80, 40, true), s.Move(20, 20, true); },
       StateDown, true, true, true, true},
      {"released outside", [](TScene& s) { s.Move(20, 20), s.Press(20, 20), s.Move(80, 40, true), s.Release(80, 40); },
       StateUp, true, false, false, false},
      {"clicked", [](TScene& s) { s.Click(20, 20); }, StateUp, true, false, true, true},
      {"latched", [](TScene& s) { s.A.SetGroupIndex(1), s.Click(20, 20), s.Move(5, 5); },
       StateLatched, true, true, false, true},
      {"latched by Down", [](TScene& s) { s.A.SetGroupIndex(1), s.A.SetDown(true); },
       StateLatched, true, true, false, true},
      {"latched, hot", [](TScene& s) { s.A.SetGroupIndex(1), s.Click(20, 20); }, StateLatched, true, true, true, true},
      {"latched, held, dragged out",
       [](TScene& s) { s.A.SetGroupIndex(1), s.Click(20, 20), s.Press(20, 20), s.Move(80, 40, true); },
       StateLatched, true, true, true, true},
      {"released by another",
       [](TScene& s) { s.A.SetGroupIndex(1), s.B.SetGroupIndex(1), s.Click(20, 20), s.Click(50, 20); },
       StateUp, true, false, false, false},
      {"disabled", [](TScene& s) { s.Move(5, 5), s.A.SetEnabled(false); }, StateDisabled, false, false, false, false},
      {"disabled under the pointer", [](TScene& s) { s.Move(20, 20), s.A.SetEnabled(false); },
       StateDisabled, false, false, true, true},
      {"disabled while latched",
       [](TScene& s) { s.A.SetGroupIndex(1), s.Click(20, 20), s.Move(5, 5), s.A.SetEnabled(false); },
       StateDisabled, false, false, false, true},
      {"enabled again, latched",
       [](TScene& s) {
         s.A.SetGroupIndex(1), s.Click(20, 20), s.Move(5, 5), s.A.SetEnabled(false), s.A.SetEnabled(true);
       },
       StateLatched, true, true, false, true},
  };
  for (const Case& c : cases)
    for (const bool flat : {false, true}) {
      TScene s;
      s.Parent.SetColor(clWhite);
      s.A.SetFlat(flat);
      TRasterCanvas scene(100, 50, kBack);  // painted as the mouse rules ask
      s.Parent.SetSurface(&scene);
      c.reach(s);
      TRasterCanvas canvas(24, 24, kBack), want(24, 24, kBack);
      s.A.Paint(canvas);
      want.BrushColor = clWhite;
      if (!flat || c.flatShowsFace) DrawButtonFace(want, {0, 0, 24, 24}, c.enabled, c.pressed, flat, c.hot);
      else want.FillRect({0, 0, 24, 24});
      EXPECT_EQ(s.A.State(), c.state) << c.name;
      EXPECT_EQ(s.A.Hot(), c.hot) << c.name;
      EXPECT_TRUE(SamePixels(canvas, want)) << c.name << (flat ? ", flat" : "");
      s.Parent.SetSurface(nullptr);
    }
}

// The hit test of a held button, at both edges of both axes: the last
// column is inside and the one after it not; the row at the client height
// is still inside, the one below it not. Moving there shows the state,
// releasing there clicks.
TEST(ZorvexButton, HeldButtonHitTestAtTheEdges) {
  struct Case { int x, y; bool inside; } cases[] = {
      {0, 0, true},   {-1, 0, false}, {23, 0, true},  {24, 0, false},
      {0, -1, false}, {0, 23, true},  {0, 24, true},  {0, 25, false},
  };
  for (const Case& c : cases) {
    TScene s;
    EXPECT_EQ(s.A.InTrackingArea(c.x, c.y), c.inside) << c.x << ", " << c.y;
    s.Move(20, 20);
    s.Press(20, 20);
    s.Move(10 + c.x, 10 + c.y, true);
    EXPECT_EQ(s.A.State(), c.inside ? StateDown : StateUp) << c.x << ", " << c.y;
    s.Release(10 + c.x, 10 + c.y);
    EXPECT_EQ(s.ClicksA, c.inside ? 1 : 0) << c.x << ", " << c.y;
  }
}
