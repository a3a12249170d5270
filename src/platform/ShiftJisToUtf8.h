#pragma once
// Shift-JIS bytes (code page 932) to UTF-8, as each platform implements it (platform/qt on
// ICU, platform/win32 on the Windows API). Bytes that do not form a character give U+FFFD.

#include <string>
#include <string_view>

namespace sxf {

std::string ShiftJisToUtf8(std::string_view bytes);

}  // namespace sxf
