#pragma once
// The window's placement and side-panel width, kept between runs in a small text file beside
// the program: five lines of decimal integers, each ended by CR LF. File names are UTF-8 on
// Windows (any character a folder may have), the system's bytes elsewhere.

#include <string>

#include "util/MyFunc.h"

namespace sxf {

// The window's own pixels: the screen's on Windows (at any display scale, so that a window
// keeps its size from one start to the next), Qt's device-independent ones on Linux. The
// defaults and minimums are design lengths (pixels at 96 dpi).
struct TWindowSettings {
  int WinLeft = 0;  // outer window rectangle, screen pixels
  int WinTop = 0;
  int WinWidth = 475;
  int WinHeight = 475;
  int WinPanelWidth = 200;  // width of the side panel
  friend bool operator==(const TWindowSettings&, const TWindowSettings&) = default;
};

inline constexpr int kMinWinWidth = 475;
inline constexpr int kMinWinHeight = 200;
inline constexpr int kMinPanelWidth = 100;
// Neither side of the splitter gets narrower than this, in pixels.
inline constexpr int kMinSplitterSide = 30;
inline constexpr int kSplitterWidth = 3;

// Raises width, height and panel width to their minimums on a screen of dpi.
void ApplySettingsMinimums(TWindowSettings& s, int dpi = kDesignDpi) noexcept;

// The five values, taken as design lengths, on a screen of dpi: the defaults of a window that
// has no settings file yet.
void ScaleSettingsForDpi(TWindowSettings& s, int dpi) noexcept;

// Limits width and height to a screen of screenWidth x screenHeight pixels and the panel width
// to what leaves the preview its minimum beside it, so that a damaged file cannot open a window
// no screen shows. Left and top stay as they are: a window off the screen is the user's choice.
// A screen size below the minimums counts as the minimums. The minimums are those of dpi.
void LimitSettingsToScreen(TWindowSettings& s, int screenWidth, int screenHeight,
                           int dpi = kDesignDpi) noexcept;

// The program file's full name with ".dat" in place of its extension (appended when the
// name has none); empty for a name that is not a file name (not UTF-8 on Windows).
std::string SettingsFileName(const std::string& programFile);

// Defaults when the file is absent. Each of the five lines reads as StrToIntOr0 (missing
// lines as 0), then the minimums apply. When the file cannot be opened or read, the values
// read so far stand, the rest keep their defaults and no minimum is applied. found, when
// given, tells whether a file of that name exists.
TWindowSettings ReadSettings(const std::string& path, bool* found = nullptr);

// Replaces the file atomically: the lines go to a temporary file in the same folder, which
// is then renamed over the old one. On failure the temporary file is removed and the previous
// settings stay as they were. Where no temporary file can be created (a read-only folder
// holding a writable settings file), the file is written in place instead, and removed when
// that write fails part-way. Returns false on failure.
bool WriteSettings(const std::string& path, const TWindowSettings& s);

}  // namespace sxf
