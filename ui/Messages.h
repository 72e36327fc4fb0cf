#pragma once
// Message numbers: the platform's mouse messages, and the framework's own
// notifications between controls. Controls are driven by Perform() with
// these, in both builds, so tests can synthesise what the platform sends.

#include <cstdint>

struct TMessage {
  unsigned Msg;
  std::uintptr_t WParam;
  std::intptr_t LParam;
  std::intptr_t Result;
};

// Platform messages (same numbers as Windows): activation, the close box,
// commands, the cursor question, the mouse.
constexpr unsigned MSG_ACTIVATE = 0x0006;  // first parameter's low word: 0 = deactivated
constexpr unsigned MSG_CLOSE = 0x0010;
constexpr unsigned MSG_COMMAND = 0x0111;   // first parameter's low word: the command; second: the control, if any
constexpr unsigned MSG_SETCURSOR = 0x0020;
constexpr unsigned MSG_MOUSEMOVE = 0x0200;
constexpr unsigned MSG_LBUTTONDOWN = 0x0201;
constexpr unsigned MSG_LBUTTONUP = 0x0202;
constexpr unsigned MSG_LBUTTONDBLCLK = 0x0203;
constexpr unsigned MSG_RBUTTONDOWN = 0x0204;
constexpr unsigned MSG_RBUTTONUP = 0x0205;
constexpr unsigned MSG_MOUSELEAVE = 0x02A3;
// The dialog keys' commands: Enter's OK, Escape's Cancel.
constexpr unsigned idOk = 1, idCancel = 2;
// Key flags in the mouse messages' first parameter.
constexpr unsigned mkLeft = 0x1;
constexpr unsigned mkRight = 0x2;
constexpr unsigned mkShift = 0x4;
constexpr unsigned mkControl = 0x8;

// The framework's notifications.
constexpr unsigned CM_DIALOGCHAR = 0xB006;       // first parameter: character code; result 1 = handled
constexpr unsigned CM_ENABLEDCHANGED = 0xB00C;
constexpr unsigned CM_FONTCHANGED = 0xB00E;
constexpr unsigned CM_TEXTCHANGED = 0xB012;
constexpr unsigned CM_MOUSEENTER = 0xB013;
constexpr unsigned CM_MOUSELEAVE = 0xB014;
constexpr unsigned CM_BUTTONPRESSED = 0xB018;    // first: group index, second: the sender
constexpr unsigned CM_SYSCOLORCHANGE = 0xB024;

constexpr std::intptr_t MousePos(int x, int y) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                                    static_cast<std::uint32_t>(x & 0xFFFF));
}
constexpr int MouseX(std::intptr_t lParam) { return static_cast<std::int16_t>(lParam & 0xFFFF); }
constexpr int MouseY(std::intptr_t lParam) { return static_cast<std::int16_t>((lParam >> 16) & 0xFFFF); }
