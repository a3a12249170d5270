#pragma once
// Values of the report tool's options. They are read strictly: a plain decimal number is
// the only way to write one, so that a typing mistake is a usage error, not a guess.

#include <array>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "preview/PreviewPicture.h"

namespace sxf {

// Digits only (no sign, blank, prefix or exponent), at most 9 of them, from low to high.
inline std::optional<int> ParseOptionNumber(std::string_view text, int low, int high) noexcept {
  if (text.empty() || text.size() > 9) return std::nullopt;
  for (char c : text)
    if (c < '0' || c > '9') return std::nullopt;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < low || value > high) return std::nullopt;
  return value;
}

struct TPictureSize {
  int Width = 0;
  int Height = 0;
};

// "WxH" with each side 1..16384 pixels.
inline std::optional<TPictureSize> ParsePictureSize(std::string_view text) noexcept {
  const std::size_t x = text.find('x');
  if (x == std::string_view::npos) return std::nullopt;
  const auto w = ParseOptionNumber(text.substr(0, x), 1, 16384);
  const auto h = ParseOptionNumber(text.substr(x + 1), 1, 16384);
  if (!w || !h) return std::nullopt;
  return TPictureSize{*w, *h};
}

// "LEFT,BOTTOM,RIGHT,TOP" as such a box: four decimal numbers (a sign, a fraction and an
// exponent allowed), nothing around them.
std::optional<TWorldBox> ParseWorldBox(std::string_view text) noexcept;

// A display scale factor ("1", "1.25", "1.5", "2"): digits with at most one point, from 0.5
// to 4.
std::optional<double> ParseDisplayScale(std::string_view text) noexcept;

// What the command line asks for. Help and Version end the reading of the arguments: what
// follows them is not looked at.
struct TReportOptions {
  std::string File;                // the first of Files
  std::vector<std::string> Files;  // every file or folder named, in order
  std::string Format = "text";     // text, csv or json
  bool Entities = false;           // json only
  bool ByLayer = false;
  bool Marks = false;
  std::string Png;              // empty: no picture
  TPictureSize Size{800, 600};  // of the picture, in pixels
  bool SizeGiven = false;
  std::optional<TWorldBox> View;  // the picture shows this box; fit-all when absent
  std::optional<double> Scale;    // the picture as the window draws it at Scale x 96 dpi
  bool Help = false;
  bool Version = false;
};

// The options, or the problem to print above the usage (exit status 2).
struct TReportArguments {
  TReportOptions Options;
  std::string Problem;  // empty when the arguments are good
};

// args are the arguments after the program name; "-" alone is a file name, and --format also
// takes its value joined ("--format=csv").
TReportArguments ParseReportArguments(const std::vector<std::string>& args);

}  // namespace sxf
