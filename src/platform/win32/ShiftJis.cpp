#include "platform/win32/ShiftJis.h"

#include "platform/win32/WindowsApi.h"

#include <algorithm>

namespace sxf {

namespace {

constexpr UINT kShiftJis = 932;
constexpr wchar_t kReplacement = 0xFFFD;

// Control bytes and DEL stand for themselves.
bool IsControlByte(char c) noexcept {
  const auto b = static_cast<unsigned char>(c);
  return b < 0x20 || b == 0x7F;
}

bool IsTrailByte(char c) noexcept {
  const auto b = static_cast<unsigned char>(c);
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

int Length(std::size_t n) noexcept { return n > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(n); }

// The whole text converted strictly; false when any byte does not form a character.
bool ConvertStrict(std::string_view bytes, std::wstring& out) {
  const int n = MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, bytes.data(),
                                    Length(bytes.size()), nullptr, 0);
  if (n <= 0) return false;
  out.resize(static_cast<std::size_t>(n));
  return MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, bytes.data(), Length(bytes.size()),
                             out.data(), n) == n;
}

}  // namespace

std::wstring ShiftJisToWide(std::string_view bytes) {
  std::wstring out;
  const bool plain = std::none_of(bytes.begin(), bytes.end(), [](char c) {
    return IsControlByte(c) || static_cast<unsigned char>(c) == 0x80;
  });
  if (bytes.empty() || (plain && ConvertStrict(bytes, out))) return out;
  // Character by character, so that one bad character costs only itself.
  out.clear();
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (IsControlByte(bytes[i])) {  // stands for itself, never part of a pair
      out += static_cast<wchar_t>(b);
      ++i;
      continue;
    }
    std::size_t len = 1;
    if (IsDBCSLeadByteEx(kShiftJis, b)) {
      // A lead byte before a byte that cannot follow it is a bad character on its own; the
      // byte after it is read again.
      if (i + 1 >= bytes.size() || !IsTrailByte(bytes[i + 1])) {
        out += kReplacement;
        ++i;
        continue;
      }
      len = 2;
    }
    std::wstring one;
    // 0x80 is no character of the code page, though Windows passes it through as U+0080.
    if (b != 0x80 && ConvertStrict(bytes.substr(i, len), one))
      out += one;
    else
      out += kReplacement;
    i += len;
  }
  return out;
}

std::string WideToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), Length(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), Length(text.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

std::wstring Utf8ToWide(std::string_view text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), Length(text.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), Length(text.size()), out.data(), n);
  return out;
}

std::string ShiftJisToUtf8(std::string_view bytes) { return WideToUtf8(ShiftJisToWide(bytes)); }

std::string WideToShiftJis(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, text.data(),
                                    Length(text.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, text.data(), Length(text.size()), out.data(),
                      n, "?", nullptr);
  return out;
}

bool AnsiCodePageIsShiftJis() noexcept { return GetACP() == kShiftJis; }

}  // namespace sxf
