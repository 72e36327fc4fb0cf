#include "host/Console.h"

#include <iostream>
#include <streambuf>
#include <vector>

#include <windows.h>

namespace {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(n, '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr, nullptr);
  return text;
}

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != 0;
}

// The code page a pipe or file gets: the console's, as for the console
// programs an author pipes into; the OEM code page without a console.
UINT OutputCodePage() {
  const UINT codePage = GetConsoleOutputCP();
  return codePage ? codePage : GetOEMCP();
}

// Length of the longest prefix of text that ends on a whole UTF-8 character.
std::size_t WholeCharacters(const std::string& text) {
  std::size_t end = text.size();
  for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
    const auto byte = static_cast<unsigned char>(text[text.size() - back]);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    if (length > back) end = text.size() - back;
    break;
  }
  return end;
}

// Collects UTF-8 and hands whole characters to a console as wide
// characters, to anything else in the output code page. Set on std::cout
// and std::cerr, it takes the place of the C runtime's text mode.
class TConsoleBuffer : public std::streambuf {
public:
  explicit TConsoleBuffer(DWORD stdHandle) : FHandle(GetStdHandle(stdHandle)), FConsole(IsConsole(FHandle)) {}
  ~TConsoleBuffer() override { sync(); }

protected:
  int_type overflow(int_type c) override {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    FPending += static_cast<char>(c);
    if (c == '\n') sync();
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    FPending.append(s, static_cast<std::size_t>(n));
    if (FPending.find('\n') != std::string::npos) sync();
    return n;
  }
  int sync() override {
    const std::size_t whole = WholeCharacters(FPending);
    const std::wstring wide = Wide(FPending.substr(0, whole));
    FPending.erase(0, whole);
    DWORD written = 0;
    if (FConsole) return WriteConsoleW(FHandle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) ? 0 : -1;
    std::string bytes;  // with the line ends of a Windows text file, as the C runtime writes them
    for (char c : Narrow(wide, OutputCodePage())) bytes += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return WriteFile(FHandle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ? 0 : -1;
  }

private:
  HANDLE FHandle;
  bool FConsole;
  std::string FPending;
};

}  // namespace

bool StdinIsTerminal() { return IsConsole(GetStdHandle(STD_INPUT_HANDLE)); }

const char* QuitHint() { return "\"quit\", or Ctrl+Z then Enter"; }

struct TConsoleOutput::TState {
  TConsoleBuffer out{STD_OUTPUT_HANDLE}, err{STD_ERROR_HANDLE};
  std::streambuf* savedOut = std::cout.rdbuf(&out);
  std::streambuf* savedErr = std::cerr.rdbuf(&err);
  ~TState() {
    std::cout.flush();
    std::cerr.flush();
    std::cout.rdbuf(savedOut);
    std::cerr.rdbuf(savedErr);
  }
};

TConsoleOutput::TConsoleOutput() : FState(std::make_unique<TState>()) {}
TConsoleOutput::~TConsoleOutput() = default;

void TConsoleOutput::HoldWindowOpen() {
  DWORD processes[2];
  if (!StdinIsTerminal() || GetConsoleProcessList(processes, 2) != 1) return;
  std::cerr << "Press Enter to close this window." << std::endl;
  TLineInput().ReadLine("");
}

TLineInput::TLineInput() = default;
TLineInput::~TLineInput() = default;

// Cooked console reads: the console itself edits the line and keeps its
// history. A line that starts with Ctrl+Z is the end of input, as for the
// console's own programs.
std::optional<std::string> TLineInput::ReadLine(const std::string& prompt) {
  std::cout << prompt << std::flush;
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring line;
  wchar_t chunk[256];
  DWORD read = 0;
  while (line.find(L'\n') == std::wstring::npos) {
    if (!ReadConsoleW(input, chunk, 256, &read, nullptr) || read == 0) break;
    line.append(chunk, read);
  }
  if (line.empty() || line.front() == L'\x1A') return std::nullopt;
  while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r')) line.pop_back();
  return Narrow(line, CP_UTF8);
}

void TLineInput::Remember(const std::string&) {}
