#pragma once
// Keys of the caches that keep something per character of a font record: every field of the
// record, then the character's bytes.

#include <cstring>
#include <string>
#include <string_view>

#include "graphics/Canvas.h"

namespace sxf {

inline void AppendKeyInt(std::string& key, int v) {
  char bytes[sizeof v];
  std::memcpy(bytes, &v, sizeof v);
  key.append(bytes, sizeof v);
}

// Replaces key with the font record's fields and the character.
inline void MakeCharacterKey(std::string& key, const TLogFont& font, std::string_view character) {
  key.clear();
  for (const int v :
       {font.Height, font.Width, font.Escapement, font.Orientation, font.Weight, font.CharSet,
        (font.Italic ? 1 : 0) | (font.Underline ? 2 : 0) | (font.StrikeOut ? 4 : 0) |
            (font.NonAntialiased ? 8 : 0),
        static_cast<int>(font.FaceName.size())})
    AppendKeyInt(key, v);
  key += font.FaceName;
  key += character;
}

}  // namespace sxf
