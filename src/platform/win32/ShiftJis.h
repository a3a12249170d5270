#pragma once
// Shift-JIS (code page 932, as Windows has it) <-> UTF-16 and UTF-8, through the Windows API,
// at the edge of the program: captions, font names, text output and the report's JSON.
// A byte sequence that does not form a character decodes to U+FFFD, one per character
// (a lead byte and the byte after it count as one).

#include <string>
#include <string_view>

namespace sxf {

std::wstring ShiftJisToWide(std::string_view bytes);
std::string ShiftJisToUtf8(std::string_view bytes);
std::string WideToUtf8(std::wstring_view text);
// Bytes that do not form a character become U+FFFD.
std::wstring Utf8ToWide(std::string_view text);
// Characters without a code-page 932 form become '?'.
std::string WideToShiftJis(std::wstring_view text);

// The system's ANSI code page is 932, so the A calls take Shift-JIS bytes as they are.
bool AnsiCodePageIsShiftJis() noexcept;

}  // namespace sxf
