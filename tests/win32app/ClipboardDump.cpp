// clipboard-dump UNICODE_OUT ANSI_OUT: writes the clipboard's CF_UNICODETEXT as UTF-8 and its
// CF_TEXT as the bytes it holds, each without the terminating zero, for the window tests to
// compare with the report. Exit status 1 when either format is missing.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool WriteFile(const char* path, const std::string& bytes) {
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || !OpenClipboard(nullptr)) return 2;
  std::string unicode, ansi;
  bool found = false;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* text = static_cast<const wchar_t*>(GlobalLock(h))) {
      const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
      unicode.resize(static_cast<std::size_t>(n > 0 ? n : 1));
      WideCharToMultiByte(CP_UTF8, 0, text, -1, unicode.data(), n, nullptr, nullptr);
      unicode.resize(std::strlen(unicode.c_str()));
      GlobalUnlock(h);
      found = true;
    }
  }
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    if (const auto* text = static_cast<const char*>(GlobalLock(h))) {
      ansi = text;
      GlobalUnlock(h);
    } else {
      found = false;
    }
  } else {
    found = false;
  }
  CloseClipboard();
  return found && WriteFile(argv[1], unicode) && WriteFile(argv[2], ansi) ? 0 : 1;
}
