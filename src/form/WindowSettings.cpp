#include "form/WindowSettings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "util/MyFunc.h"

namespace sxf {

void ApplySettingsMinimums(TWindowSettings& s, int dpi) noexcept {
  s.WinWidth = std::max(s.WinWidth, ScaleForDpi(kMinWinWidth, dpi));
  s.WinHeight = std::max(s.WinHeight, ScaleForDpi(kMinWinHeight, dpi));
  s.WinPanelWidth = std::max(s.WinPanelWidth, ScaleForDpi(kMinPanelWidth, dpi));
}

void ScaleSettingsForDpi(TWindowSettings& s, int dpi) noexcept {
  s.WinLeft = ScaleForDpi(s.WinLeft, dpi);
  s.WinTop = ScaleForDpi(s.WinTop, dpi);
  s.WinWidth = ScaleForDpi(s.WinWidth, dpi);
  s.WinHeight = ScaleForDpi(s.WinHeight, dpi);
  s.WinPanelWidth = ScaleForDpi(s.WinPanelWidth, dpi);
}

void LimitSettingsToScreen(TWindowSettings& s, int screenWidth, int screenHeight,
                           int dpi) noexcept {
  s.WinWidth = std::min(s.WinWidth, std::max(screenWidth, ScaleForDpi(kMinWinWidth, dpi)));
  s.WinHeight = std::min(s.WinHeight, std::max(screenHeight, ScaleForDpi(kMinWinHeight, dpi)));
  // The window's frame is a few pixels more than its client area: this bound is generous.
  const int widestPanel = s.WinWidth - ScaleForDpi(kSplitterWidth + kMinSplitterSide, dpi);
  s.WinPanelWidth =
      std::min(s.WinPanelWidth, std::max(widestPanel, ScaleForDpi(kMinPanelWidth, dpi)));
}

namespace {

// File names are UTF-8 on Windows, where the C library's narrow calls would read them in the
// ANSI code page and miss every other character; elsewhere they are the system's bytes. A name
// that does not convert gives the empty path (no file), never an exception.
std::filesystem::path PathOf(const std::string& name) noexcept {
#if defined(_WIN32)
  try {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
  } catch (...) { return {}; }
#else
  try {
    return std::filesystem::path(name);
  } catch (...) { return {}; }
#endif
}

std::string NameOf(const std::filesystem::path& path) noexcept {
  try {
#if defined(_WIN32)
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
#else
    return path.string();
#endif
  } catch (...) { return {}; }
}

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
#if defined(_WIN32)
  const std::wstring wideMode(mode, mode + std::strlen(mode));
  return _wfopen(path.c_str(), wideMode.c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

}  // namespace

std::string SettingsFileName(const std::string& programFile) {
  std::filesystem::path p = PathOf(programFile);
  if (p.empty()) return {};
  p.replace_extension(".dat");
  return NameOf(p);
}

TWindowSettings ReadSettings(const std::string& path, bool* found) {
  TWindowSettings s;
  std::error_code ec;
  const std::filesystem::path file = PathOf(path);
  if (found) *found = false;
  if (!std::filesystem::exists(file, ec)) return s;
  if (found) *found = true;

  std::FILE* f = OpenFile(file, "rb");
  if (!f) return s;
  // Five short lines are all there is to read; a longer file is cut off at 64 KiB.
  std::string text(64 * 1024, '\0');
  const std::size_t got = std::fread(text.data(), 1, text.size(), f);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  text.resize(got);

  int* const fields[5] = {&s.WinLeft, &s.WinTop, &s.WinWidth, &s.WinHeight, &s.WinPanelWidth};
  std::string_view rest(text);
  for (int i = 0; i < 5; ++i) {
    const std::size_t end = rest.find_first_of("\r\n");
    const bool complete = end != std::string_view::npos;
    // A read error stops at the first line that did not arrive whole.
    if (failed && !complete) return s;
    const std::string_view line = rest.substr(0, complete ? end : rest.size());
    *fields[i] = StrToIntOr0(line);
    if (!complete) {
      rest = {};
    } else {
      std::size_t next = end + 1;
      if (rest[end] == '\r' && next < rest.size() && rest[next] == '\n') ++next;
      rest.remove_prefix(next);
    }
  }
  ApplySettingsMinimums(s);
  return s;
}

namespace {

// Writes the whole text into the open file and closes it; false when any part failed.
bool WriteAndClose(std::FILE* f, const std::string& text) {
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = (std::fflush(f) == 0) && ok;
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}

}  // namespace

bool WriteSettings(const std::string& path, const TWindowSettings& s) {
  namespace fs = std::filesystem;
  const fs::path target = PathOf(path);
  if (target.empty()) return false;
  fs::path temp = target;
  temp += ".new";
  std::string text;
  for (int v : {s.WinLeft, s.WinTop, s.WinWidth, s.WinHeight, s.WinPanelWidth}) {
    text += std::to_string(v);
    text += "\r\n";
  }
  std::error_code ec;
  if (std::FILE* f = OpenFile(temp, "wb")) {
    bool ok = WriteAndClose(f, text);
    if (ok) fs::rename(temp, target, ec);
    ok = ok && !ec;
    if (!ok) fs::remove(temp, ec);
    return ok;
  }
  // No temporary file beside it (a read-only folder, say): replace the file in place, and
  // leave no partly written file behind.
  std::FILE* f = OpenFile(target, "wb");
  if (!f) return false;
  if (WriteAndClose(f, text)) return true;
  fs::remove(target, ec);
  return false;
}

}  // namespace sxf
