#pragma once
// UTF-16 to Shift-JIS (code page 932) without Qt, ICU or the Windows API.
//
// The table is not part of the sources: the build makes it from the build machine's iconv
// (glibc's CP932 converter, cmake/Cp932Table.cmake), for the Linux and the Windows build
// alike. It covers the Basic Multilingual Plane; where several Shift-JIS codes stand for one
// character, the converter's choice is the table's (the NEC and IBM duplicates go to the
// codes Windows writes).

#include <string>
#include <string_view>

namespace sxf {

// Appends the Shift-JIS bytes of count UTF-16 code units stored little-endian at units. A
// character code page 932 has not, a lone surrogate and a surrogate pair become '?'. Returns
// the number of characters so replaced.
int AppendShiftJisFromUtf16Le(const unsigned char* units, std::size_t count, std::string& out);

}  // namespace sxf
