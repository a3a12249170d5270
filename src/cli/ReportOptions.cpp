#include "cli/ReportOptions.h"

#include <algorithm>

#include <cmath>
#include <string>

namespace sxf {

namespace {

// A flag sets one member; an option with a value hands the value to its reader, which
// returns the problem in words or nothing. One line each, so that a new option is one line.
struct TFlag {
  std::string_view Name;
  bool TReportOptions::*Member;
};
constexpr TFlag kFlags[] = {
    {"--entities", &TReportOptions::Entities},
    {"--by-layer", &TReportOptions::ByLayer},
    {"--marks", &TReportOptions::Marks},
};

using TValueReader = std::string (*)(std::string_view value, TReportOptions& options);
struct TValueOption {
  std::string_view Name;
  const char* Missing;  // the problem when no value follows
  TValueReader Read;
  bool Joined;  // "--name=value" is taken too
};

std::string ReadFormat(std::string_view value, TReportOptions& o) {
  if (value != "text" && value != "csv" && value != "json")
    return "--format takes text, csv or json";
  o.Format = std::string(value);
  return {};
}
std::string ReadPng(std::string_view value, TReportOptions& o) {
  o.Png = std::string(value);
  return {};
}
std::string ReadSize(std::string_view value, TReportOptions& o) {
  const auto size = ParsePictureSize(value);
  if (!size) return "--size takes WxH, each a plain decimal number from 1 to 16384";
  o.Size = *size;
  o.SizeGiven = true;
  return {};
}

std::string ReadView(std::string_view value, TReportOptions& o) {
  o.View = ParseWorldBox(value);
  if (!o.View)
    return "--view takes LEFT,BOTTOM,RIGHT,TOP in world units, left below right, bottom below top";
  return {};
}

std::string ReadScale(std::string_view value, TReportOptions& o) {
  const auto scale = ParseDisplayScale(value);
  if (!scale) return "--scale takes a plain decimal number from 0.5 to 4 (1.5 for 150 %)";
  o.Scale = *scale;
  return {};
}

constexpr TValueOption kValueOptions[] = {
    {"--format", "--format needs a value", ReadFormat, true},
    {"--png", "--png needs a file name", ReadPng, false},
    {"--size", "--size needs WxH", ReadSize, false},
    {"--view", "--view needs LEFT,BOTTOM,RIGHT,TOP", ReadView, false},
    {"--scale", "--scale needs a number", ReadScale, false},
};

// Flags that answer on their own and end the reading.
constexpr TFlag kStopFlags[] = {
    {"--help", &TReportOptions::Help},
    {"-h", &TReportOptions::Help},
    {"--version", &TReportOptions::Version},
};

// Rules between options, checked once every argument is read.
std::string CheckCombination(const TReportOptions& o) {
  if (o.File.empty()) return "no FILE given";
  if (o.Files.size() > 1) {
    if (o.Entities) return "--entities goes with one FILE";
    if (o.ByLayer) return "--by-layer goes with one FILE";
    if (o.Marks) return "--marks goes with one FILE";
    if (!o.Png.empty()) return "--png goes with one FILE";
  }
  if (o.Entities && o.Format != "json") return "--entities goes with --format json";
  if (o.SizeGiven && o.Png.empty()) return "--size goes with --png";
  if (o.View && o.Png.empty()) return "--view goes with --png";
  if (o.Scale && o.Png.empty()) return "--scale goes with --png";
  return {};
}

}  // namespace

std::optional<TWorldBox> ParseWorldBox(std::string_view text) noexcept {
  std::array<double, 4> box{};
  const char* p = text.data();
  const char* const end = text.data() + text.size();
  for (std::size_t i = 0; i < box.size(); ++i) {
    if (i > 0) {
      if (p == end || *p != ',') return std::nullopt;
      ++p;
    }
    if (p != end && *p == '+') return std::nullopt;  // from_chars takes no plus; nor do we
    const auto [next, error] = std::from_chars(p, end, box[i]);
    if (error != std::errc() || !std::isfinite(box[i])) return std::nullopt;
    p = next;
  }
  if (p != end || !(box[0] < box[2]) || !(box[1] < box[3])) return std::nullopt;
  return TWorldBox{box[0], box[1], box[2], box[3]};
}

std::optional<double> ParseDisplayScale(std::string_view text) noexcept {
  // Digits with at most one point among them: no sign, exponent or blank.
  if (text.empty() || text.size() > 12 || text.front() == '.' || text.back() == '.')
    return std::nullopt;
  if (std::count(text.begin(), text.end(), '.') > 1) return std::nullopt;
  for (char c : text)
    if (c != '.' && (c < '0' || c > '9')) return std::nullopt;
  double value = 0;
  const auto [next, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || next != text.data() + text.size()) return std::nullopt;
  if (!(value >= 0.5 && value <= 4.0)) return std::nullopt;
  return value;
}

TReportArguments ParseReportArguments(const std::vector<std::string>& args) {
  TReportArguments result;
  TReportOptions& o = result.Options;
  const std::size_t count = args.size();
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view arg = args[i];
    bool known = false;
    for (const TFlag& f : kStopFlags) {
      if (arg == f.Name) {
        o.*f.Member = true;
        return result;
      }
    }
    for (const TFlag& f : kFlags) {
      if (arg == f.Name) {
        o.*f.Member = true;
        known = true;
      }
    }
    for (const TValueOption& v : kValueOptions) {
      if (known) break;
      std::string_view value;
      if (arg == v.Name) {
        if (i + 1 >= count) {
          result.Problem = v.Missing;
          return result;
        }
        value = args[++i];
      } else if (v.Joined && arg.size() > v.Name.size() && arg.starts_with(v.Name) &&
                 arg[v.Name.size()] == '=') {
        value = arg.substr(v.Name.size() + 1);
      } else {
        continue;
      }
      result.Problem = v.Read(value, o);
      if (!result.Problem.empty()) return result;
      known = true;
    }
    if (known) continue;
    if (arg.starts_with("-") && arg != "-") {
      result.Problem = "unknown option " + std::string(arg);
      return result;
    }
    if (o.File.empty()) o.File = std::string(arg);
    o.Files.emplace_back(arg);
  }
  result.Problem = CheckCombination(o);
  return result;
}

}  // namespace sxf
