// zxhost.exe in a console window of its own, as when an author
// double-clicks it: the keys are typed into the console's input, zxhost runs
// until it ends, and the console's screen is written out as UTF-8 text, so
// what the console shows (its own line editing, wide characters) can be
// compared. Needs a display (the console is a window).
//
// Usage: console_session_wine ZXHOST-EXE LINE...   each LINE is typed and
// ended with Enter; "{Up}" in it presses the Up arrow.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

INPUT_RECORD Key(wchar_t c, WORD virtualKey, bool down) {
  INPUT_RECORD record{};
  record.EventType = KEY_EVENT;
  record.Event.KeyEvent.bKeyDown = down;
  record.Event.KeyEvent.wRepeatCount = 1;
  record.Event.KeyEvent.wVirtualKeyCode = virtualKey;
  record.Event.KeyEvent.uChar.UnicodeChar = c;
  return record;
}

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                  static_cast<int>(wide.size())));
  return wide;
}

void Type(HANDLE input, const std::string& line) {
  std::vector<INPUT_RECORD> keys;
  const std::wstring text = Wide(line);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool up = text.compare(i, 4, L"{Up}") == 0;
    keys.push_back(Key(up ? 0 : text[i], up ? VK_UP : 0, true));
    keys.push_back(Key(up ? 0 : text[i], up ? VK_UP : 0, false));
    if (up) i += 3;
  }
  keys.push_back(Key(L'\r', VK_RETURN, true));
  keys.push_back(Key(L'\r', VK_RETURN, false));
  DWORD written = 0;
  WriteConsoleInputW(input, keys.data(), static_cast<DWORD>(keys.size()), &written);
}

std::string Screen(HANDLE output) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  GetConsoleScreenBufferInfo(output, &info);
  std::string text;
  for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
    std::wstring row(static_cast<std::size_t>(info.dwSize.X), L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(output, row.data(), info.dwSize.X, COORD{0, y}, &read);
    row.resize(row.find_last_not_of(L' ') + 1);
    std::string utf8(row.size() * 3, '\0');
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, row.data(), static_cast<int>(row.size()), utf8.data(),
                                    static_cast<int>(utf8.size()), nullptr, nullptr));
    text += utf8 + "\n";
  }
  while (text.ends_with("\n\n")) text.pop_back();  // the empty line the cursor stands on
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s ZXHOST-EXE LINE...\n", argv[0]);
    return 2;
  }
  const HANDLE report = GetStdHandle(STD_OUTPUT_HANDLE);  // before the console takes its place
  FreeConsole();
  if (!AllocConsole()) {
    std::fprintf(stderr, "no console\n");
    return 2;
  }
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE), output = GetStdHandle(STD_OUTPUT_HANDLE);
  for (int i = 2; i < argc; ++i) Type(input, argv[i]);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string command = std::string("\"") + argv[1] + "\"";
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::fprintf(stderr, "zxhost does not start\n");
    return 2;
  }
  const bool ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  if (!ended) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  const std::string text = Screen(output) + (ended ? "exit status " + std::to_string(status) : "still running") + "\n";
  DWORD written = 0;
  WriteFile(report, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  return ended ? 0 : 1;
}
