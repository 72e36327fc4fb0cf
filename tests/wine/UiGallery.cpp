// The controls in a real window under Wine, compared with their raster
// rendering. Not shipped: a test program of the Windows build.
//
//   UiGallery capture FOLDER   both looks: window captured (BitBlt from the
//                              window), raster rendering of the same scene,
//                              compared pixel by pixel outside text and the
//                              standard controls; PNGs of both and of the
//                              differences written to FOLDER
//   UiGallery hot FOLDER       pointer moves (SendInput) into a button, onto
//                              the form, into the button again and straight
//                              into a window of another program's kind
//   UiGallery modal            a form shown modally over an owner window,
//                              driven from a second thread the way a screen
//                              reader would: found by caption, its edit
//                              read and written, closed with OK and Escape
//   UiGallery colours          system colours 0..30 and the contrast
//                              arithmetic's results, for comparing builds
//
// Exit status 0 when everything matched.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "PngFile.h"
#include "controls/Startup.h"
#include "controls/ZorvexButton.h"
#include "controls/ZorvexHelpBox2.h"
#include "controls/ZorvexPanel.h"
#include "controls/ZorvexUtils.h"
#include "ui/Button.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Label.h"
#include "ui/RasterCanvas.h"
#include "ui/win32/GdiCanvas.h"
#include "ui/win32/GdiObjects.h"
#include "ui/win32/GdiTextEngine.h"
#include "ui/win32/Window.h"
#include "ContrastTable.h"

namespace {

// Keeps the controls of a scene alive, parents before children.
class TScene {
public:
  TForm Form{nullptr};
  std::vector<std::unique_ptr<TControl>> Controls;
  std::vector<TControl*> Standard;  // painted by the platform: left out of comparisons

  template <typename T>
  T& Add(TWinControl& parent, int left, int top, int width, int height, const char* caption = "") {
    auto control = std::make_unique<T>(nullptr);
    T& ref = *control;
    ref.SetParent(&parent);
    ref.SetBounds(left, top, width, height);
    ref.SetCaption(caption);
    Controls.push_back(std::move(control));
    return ref;
  }
};

TBitmap ButtonGlyph() {
  TBitmap glyph(20, 20, clFuchsia);
  for (int i = 3; i < 17; ++i) {
    glyph.SetPixel(i, i, Rgb(0, 70, 160));
    glyph.SetPixel(19 - i, i, Rgb(0, 70, 160));
    glyph.SetPixel(i, 10, Rgb(200, 90, 0));
  }
  return glyph;
}

// Every control in its states: panels with and without captions, a narrow
// one, help boxes, and speed buttons in every state, flat and not, with a
// glyph, a caption or both.
void BuildScene(TScene& s) {
  s.Form.SetBounds(40, 40, 660, 470);
  s.Form.SetPosition(TFormPosition::Designed);
  s.Form.SetCaption("vkt gallery");
  const TBitmap glyph = ButtonGlyph();

  auto& panel1 = s.Add<TZorvexPanel>(s.Form, 8, 8, 537, 65, "&Formula string to calc");
  panel1.SetSubCaption("(sub-caption)");
  auto& edit = s.Add<TEdit>(panel1, 12, 28, 485, 23, "sin(x)^2+1");
  s.Standard.push_back(&edit);
  panel1.SetFocusControl(&edit);
  auto& insert = s.Add<TZorvexButton>(panel1, 506, 28, 24, 24);
  insert.SetFlat(true);
  insert.SetGlyph(&glyph);
  s.Add<TZorvexPanel>(s.Form, 552, 8, 30, 65, "Narrow");
  s.Add<TZorvexPanel>(s.Form, 590, 8, 28, 65);
  s.Add<TZorvexPanel>(s.Form, 622, 8, 30, 65).SetSubCaption("s");  // no caption, a sub-caption

  auto& help = s.Add<TZorvexHelpBox2>(s.Form, 8, 80, 345, 90, "CalcExpress info");
  auto& label = s.Add<TLabel>(help, 8, 24, 329, 40, "Help text in a label");
  s.Standard.push_back(&label);
  s.Add<TZorvexHelpBox2>(s.Form, 360, 80, 120, 60);
  s.Add<TZorvexHelpBox2>(s.Form, 488, 80, 160, 60, "A&B in the tab");

  auto& grid = s.Add<TPanel>(s.Form, 8, 180, 640, 280);
  grid.SetBevelOuter(TBevelCut::None);
  struct Kind { bool glyph; const char* caption; int width; } kinds[] = {
      {true, "", 24}, {false, "Caption", 70}, {true, "&Insert", 90}};
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 8; ++column) {
      const Kind& kind = kinds[row];
      auto& b = s.Add<TZorvexButton>(grid, 8 + column * 78, 8 + row * 40, kind.width > 70 ? 72 : kind.width, 28,
                                     kind.caption);
      if (kind.glyph) b.SetGlyph(&glyph);
      b.SetFlat(column % 2 == 1);
      switch (column / 2) {
        case 1: b.Perform(CM_MOUSEENTER); break;  // hot
        case 2:
          b.SetGroupIndex(row * 10 + column);  // latched
          b.SetDown(true);
          break;
        case 3: b.SetEnabled(false); break;
      }
      b.Loaded();
    }
  auto& layouts = s.Add<TPanel>(grid, 8, 128, 620, 140);
  layouts.SetBevelOuter(TBevelCut::Lowered);
  const TButtonLayout order[] = {TButtonLayout::blGlyphLeft, TButtonLayout::blGlyphRight, TButtonLayout::blGlyphTop,
                                 TButtonLayout::blGlyphBottom};
  for (int i = 0; i < 4; ++i) {
    auto& b = s.Add<TZorvexButton>(layouts, 8 + i * 150, 8, 140, 56, "Layout");
    b.SetGlyph(&glyph);
    b.SetLayout(order[i]);
    auto& m = s.Add<TZorvexButton>(layouts, 8 + i * 150, 72, 140, 56, "Margin 6");
    m.SetGlyph(&glyph);
    m.SetLayout(order[i]);
    m.SetMargin(6);
    m.SetSpacing(i == 3 ? -1 : 2);
    m.SetTransparent(i % 2 == 0);
  }
}

void Pump(int milliseconds) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  MSG msg;
  do {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

// The window's client area as it is on the screen.
std::vector<TColor> Capture(HWND window, int width, int height) {
  HDC screen = GetDC(window);
  const TMemoryDC memory(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const TGdiObject<HBITMAP> dib(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  {
    const TSelection use(memory.Get(), dib.Get());
    BitBlt(memory.Get(), 0, 0, width, height, screen, 0, 0, SRCCOPY);
  }
  ReleaseDC(window, screen);
  std::vector<TColor> pixels(static_cast<size_t>(width) * height);
  const auto* source = static_cast<const std::uint32_t*>(bits);
  for (size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = Rgb((source[i] >> 16) & 0xFF, (source[i] >> 8) & 0xFF, source[i] & 0xFF);
  return pixels;
}

TRect ScreenRect(TControl& control) {
  const TPoint origin = control.ClientOrigin();
  return Bounds(origin.X, origin.Y, control.Width(), control.Height());
}

// Shows the scene, captures it, renders it on the raster and compares.
// Returns the number of differing pixels.
int CaptureLook(const std::string& folder, const std::string& look) {
  TScene scene;
  BuildScene(scene);
  scene.Form.Show();
  const HWND window = WindowOf(scene.Form)->Handle();
  SetForegroundWindow(window);
  Pump(800);
  const int width = scene.Form.Width(), height = scene.Form.Height();
  const std::vector<TColor> captured = Capture(window, width, height);

  TRasterCanvas raster(width, height, clBlack);
  raster.SetTextEngine(std::make_shared<TGdiTextEngine>());
  scene.Form.PaintTo(raster);
  std::vector<TRect> skip = raster.TakeTextRects();
  const TPoint formOrigin = scene.Form.ClientOrigin();
  for (TControl* standard : scene.Standard)
    skip.push_back(OffsetRect(ScreenRect(*standard), -formOrigin.X, -formOrigin.Y));

  std::vector<TColor> differences(captured.size());
  int count = 0;
  TPoint first{-1, -1};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const size_t i = static_cast<size_t>(y) * width + x;
      bool skipped = false;
      for (const TRect& r : skip) skipped = skipped || r.Contains({x, y});
      const bool differs = !skipped && captured[i] != raster.Pixels()[i];
      differences[i] = skipped ? Rgb(200, 200, 255) : differs ? clRed : clWhite;
      if (differs && count++ == 0) first = {x, y};
    }
  WritePng(folder + "/gallery-" + look + ".png", width, height, captured);
  WritePng(folder + "/gallery-" + look + "-raster.png", width, height, raster.Pixels());
  WritePng(folder + "/gallery-" + look + "-diff.png", width, height, differences);
  if (count) {
    const size_t i = static_cast<size_t>(first.Y) * width + first.X;
    std::printf("FAIL   %s look: %d pixels differ, first at (%d, %d): window %06X, raster %06X\n", look.c_str(),
                count, first.X, first.Y, captured[i], raster.Pixels()[i]);
  } else {
    std::printf("ok     %s look: window and raster agree outside text (%dx%d, %zu text and standard-control "
                "rectangles left out)\n", look.c_str(), width, height, skip.size());
  }
  return count;
}

int CaptureBothLooks(const std::string& folder) {
  SetCursorPos(0, 0);  // no pointer over the scene
  int failures = CaptureLook(folder, "modern") ? 1 : 0;
  OverrideDisplayBits(8);
  StopControls();
  StartControls();
  failures += CaptureLook(folder, "classic") ? 1 : 0;
  return failures;
}

// Moves the pointer and gives the windows time to see it (up to 3 s, until
// `settled` holds).
template <typename Settled>
void MovePointer(int x, int y, Settled settled) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = (x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = (y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
  for (int i = 0; i < 30; ++i) {
    Pump(100);
    if (settled()) break;
  }
  Pump(100);
}

LRESULT CALLBACK HostProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, msg, wParam, lParam);
}

// Pointer moves into a flat button and out again, onto the form and into a
// window that is not ours: the face follows each time.
int HotTracking(const std::string& folder) {
  WNDCLASSA hostClass{};
  hostClass.lpfnWndProc = HostProc;
  hostClass.hInstance = GetModuleHandleA(nullptr);
  hostClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  hostClass.lpszClassName = "GalleryHostWindow";
  RegisterClassA(&hostClass);

  TScene scene;
  scene.Form.SetBounds(40, 40, 200, 120);
  scene.Form.SetPosition(TFormPosition::Designed);
  scene.Form.SetCaption("vkt hot tracking");
  scene.Form.SetColor(clWhite);
  auto& button = scene.Add<TZorvexButton>(scene.Form, 170, 40, 24, 24, "");
  button.SetFlat(true);
  const TBitmap glyph = ButtonGlyph();
  button.SetGlyph(&glyph);
  scene.Form.Show();
  const HWND window = WindowOf(scene.Form)->Handle();
  // The other program's window right beside the form, level with the button.
  RECT outer;
  GetWindowRect(window, &outer);
  HWND host = CreateWindowExA(0, "GalleryHostWindow", "host", WS_POPUP | WS_VISIBLE, outer.right, outer.top, 200,
                              outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetCursorPos(0, 0);
  Pump(500);

  const TRect face = ScreenRect(button);
  const TPoint origin = scene.Form.ClientOrigin();
  auto frame = [&] { return Capture(window, 200, 120)[static_cast<size_t>(40) * 200 + 182]; };  // top edge
  struct Step { const char* what; TPoint to; bool hot; } steps[] = {
      {"pointer into the button", {face.Left + 12, face.Top + 12}, true},
      {"pointer onto the form", {origin.X + 20, origin.Y + 20}, false},
      {"pointer into the button again", {face.Left + 12, face.Top + 12}, true},
      {"pointer straight into the other program's window", {static_cast<int>(outer.right) + 30, face.Top + 12}, false},
  };
  int failures = 0, shot = 0;
  for (const Step& step : steps) {
    MovePointer(step.to.X, step.to.Y, [&] { return button.Hot() == step.hot; });
    const TColor top = frame();
    const bool faceShown = top != clWhite;
    const bool ok = button.Hot() == step.hot && faceShown == step.hot;
    std::printf("%s  %s: hot %d, top edge %06X\n", ok ? "ok   " : "FAIL ", step.what, button.Hot(), top);
    failures += ok ? 0 : 1;
    WritePng(folder + "/hot-" + std::to_string(++shot) + (step.hot ? "-over" : "-away") + ".png", 200, 120,
             Capture(window, 200, 120));
  }
  DestroyWindow(host);
  return failures;
}

// What the driver thread saw and did.
struct TDriver {
  HWND Owner;
  bool Escape;
  bool OwnerDisabled = false, Found = false;
  std::string EditText;
};

HWND WaitForWindow(const char* caption) {
  for (int i = 0; i < 500; ++i) {
    if (HWND window = FindWindowA(nullptr, caption)) return window;
    Sleep(20);
  }
  return nullptr;
}

DWORD WINAPI DriveModal(void* parameter) {
  TDriver& d = *static_cast<TDriver*>(parameter);
  HWND dialog = WaitForWindow("vkt modal");
  if (!dialog) return 1;
  // The form's children appear after the form does; on a loaded machine
  // under emulation that takes longer than any fixed pause.
  HWND ok = nullptr, edit = nullptr, cancel = nullptr;
  for (int i = 0; i < 500 && !(ok && edit && cancel); ++i) {
    Sleep(20);
    ok = FindWindowExA(dialog, nullptr, "Button", "OK");
    edit = FindWindowExA(dialog, nullptr, "Edit", nullptr);
    cancel = FindWindowExA(dialog, nullptr, "Button", "Cancel");
  }
  Sleep(200);
  d.OwnerDisabled = !IsWindowEnabled(d.Owner);
  d.Found = ok && edit && cancel;
  char text[64] = {};
  if (edit) {
    SendMessageA(edit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("changed"));
  }
  d.EditText = text;
  if (d.Escape && edit) {
    PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
  } else if (ok) {
    PostMessageA(ok, BM_CLICK, 0, 0);
  } else {
    PostMessageA(dialog, WM_CLOSE, 0, 0);
  }
  return 0;
}

// A dialog over an owner window: the owner is disabled while it runs and
// enabled again after; OK and Escape end it with their results.
int Modal() {
  HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 10, 10, 100, 60, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  int failures = 0;
  for (const bool escape : {false, true}) {
    TScene scene;
    scene.Form.SetCaption("vkt modal");
    scene.Form.SetBounds(0, 0, 300, 100);
    scene.Form.SetOwnerWindow(owner);
    auto& edit = scene.Add<TEdit>(scene.Form, 8, 8, 200, 23, "abc");
    auto& ok = scene.Add<TButton>(scene.Form, 8, 60, 75, 25, "OK");
    ok.SetDefault(true);
    ok.SetModalResult(mrOk);
    auto& cancel = scene.Add<TButton>(scene.Form, 90, 60, 75, 25, "Cancel");
    cancel.SetCancel(true);
    cancel.SetModalResult(mrCancel);
    TDriver driver{owner, escape, false, false, {}};
    HANDLE thread = CreateThread(nullptr, 0, DriveModal, &driver, 0, nullptr);
    const TModalResult result = scene.Form.ShowModal();
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    const bool good = driver.Found && driver.OwnerDisabled && IsWindowEnabled(owner) && driver.EditText == "abc" &&
                      edit.Text() == "changed" && result == (escape ? mrCancel : mrOk) && !scene.Form.PlatformWindow();
    std::printf("%s  modal form closed by %s: result %d, controls found by caption %d, owner disabled while "
                "shown %d and enabled after %d, edit read \"%s\" and written \"%s\"\n",
                good ? "ok   " : "FAIL ", escape ? "Escape" : "OK", result, driver.Found, driver.OwnerDisabled,
                IsWindowEnabled(owner) != FALSE, driver.EditText.c_str(), edit.Text().c_str());
    failures += good ? 0 : 1;
  }
  DestroyWindow(owner);
  return failures;
}

// A gradient over exactly one line takes colour A on the platform's canvas
// as on the raster (a division by n - 1 = 0 otherwise).
bool OneLineGradients() {
  HDC screen = GetDC(nullptr);
  const TMemoryDC memory(screen);
  const TGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, 4, 4));
  ReleaseDC(nullptr, screen);
  const TSelection use(memory.Get(), bitmap.Get());
  TGdiCanvas canvas(memory.Get());
  FillGradient(canvas, {0, 1, 4, 2}, clRed, clBlue, true);
  FillGradient(canvas, {3, 0, 4, 4}, clWhite, clBlue, false);
  return canvas.Pixel(0, 1) == clRed && canvas.Pixel(2, 1) == clRed && canvas.Pixel(3, 3) == clWhite;
}

int Colours() {
  for (int i = 0; i <= 30; ++i) std::printf("syscolor %d %06X\n", i, SysColor(i));
  PrintContrastTable();
  if (OneLineGradients()) return 0;
  std::printf("FAIL   a one-line gradient on the GDI canvas is not colour A\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  const std::string folder = argc > 2 ? argv[2] : ".";
  if (mode == "capture") return CaptureBothLooks(folder);
  if (mode == "hot") return HotTracking(folder);
  if (mode == "modal") return Modal();
  if (mode == "colours") return Colours();
  std::fprintf(stderr, "usage: UiGallery capture|hot FOLDER | modal | colours\n");
  return 2;
}
