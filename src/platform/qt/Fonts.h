#pragma once
// Font names of the host's platform mapped to the fonts installed here.

namespace sxf {

// "ＭＳ ゴシック" and "MS Gothic" (and the Mincho faces) resolve to the metric-compatible IPA
// fonts. Call once after the application object exists.
void InstallFontSubstitutions();

}  // namespace sxf
