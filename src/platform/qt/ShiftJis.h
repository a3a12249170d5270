#pragma once
// Shift-JIS (code page 932 with the NEC and IBM extensions) <-> Unicode, at the edge of the
// program: captions, font names, text output and the report's JSON. Bytes that do not form
// a character decode to U+FFFD; the byte 0x7F decodes to U+007F, as on the host's platform.

#include <QString>
#include <string>
#include <string_view>

namespace sxf {

QString ShiftJisToQString(std::string_view bytes);
// One character of one or two bytes, decoded once and kept for the program's lifetime.
const QString& ShiftJisCharToQString(std::string_view character);
std::string ShiftJisToUtf8(std::string_view bytes);
// Characters without a code-page 932 form become '?'.
std::string QStringToShiftJis(const QString& text);

}  // namespace sxf
