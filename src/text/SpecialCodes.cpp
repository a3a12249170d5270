#include "text/SpecialCodes.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <unordered_map>

#include "globals/UnitGval.h"
#include "text/TextDrawing.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {

constexpr double kPiD = 3.14159265358979323846;  // pi as a double
constexpr char kHalfDot = '\xA5';                // "･"
const std::string kFullDot = "\x81\x45";         // "・"

// Columns of every character but the last: 1 for a one-byte character, 2 for a two-byte one.
int ColumnsBeforeLast(std::string_view text) noexcept {
  int cols = 0;
  int last = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = CharLength(text, i);
    cols += last;
    last = static_cast<int>(n);
    i += n;
  }
  return cols;
}

// True when the text's last character could be a spacing mark, so that the scan can matter.
bool MayEndInMark(std::string_view text) noexcept {
  if (text.empty()) return false;
  const char last = text.back();
  if (last == kHalfDot || last == '^' || (last >= '1' && last <= '9')) return true;
  return text.size() >= 2 && text.substr(text.size() - 2) == kFullDot;
}

// ---- Dates, times and names ----

std::string Digits(int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
  return buffer;
}
std::string SpacePadded(std::string s) { return s.size() == 1 ? " " + s : s; }
std::string ZeroPadded(std::string s) { return s.size() == 1 ? "0" + s : s; }

// The file name of a path: what follows its last "\" or ":" (whole characters only).
std::string FileNameOf(std::string_view path) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size();) {
    const std::size_t n = CharLength(path, i);
    if (n == 1 && (path[i] == '\\' || path[i] == ':')) start = i + 1;
    i += n;
  }
  return std::string(path.substr(start));
}

std::string WithoutExtension(std::string name) {
  std::size_t dot = std::string::npos;
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t n = CharLength(name, i);
    if (n == 1 && name[i] == '.') dot = i;
    i += n;
  }
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

// One date-time component at a time; "current" ones read the clock anew for each.
class TComponents {
 public:
  TComponents(const TTextLocale& locale, bool current) : locale_(locale), current_(current) {}

  std::string Year4() const { return Digits(Get().Year, 4); }
  std::string Year2() const { return Digits(Get().Year % 100, 2); }
  std::string Month() const { return std::to_string(Get().Month); }
  std::string Month2() const { return Digits(Get().Month, 2); }
  std::string Day() const { return std::to_string(Get().Day); }
  std::string Day2() const { return Digits(Get().Day, 2); }
  std::string Hour() const { return std::to_string(Get().Hour); }
  std::string Hour2() const { return Digits(Get().Hour, 2); }
  std::string Minute() const { return std::to_string(Get().Minute); }
  std::string Minute2() const { return Digits(Get().Minute, 2); }
  std::string Second() const { return std::to_string(Get().Second); }
  std::string Second2() const { return Digits(Get().Second, 2); }
  std::string AmPm() const { return Get().Hour < 12 ? "AM" : "PM"; }
  // "h AM/PM" cut before its space, with 12 written as 0: the hour of a 12-hour clock 0..11.
  std::string Hour12() const {
    const int h = Get().Hour % 12;
    return std::to_string(h);
  }
  std::string WeekdayName() const { return locale_.ShortDayName(Get()); }
  std::string Era() const { return locale_.EraName(Get()); }
  std::string EraYear() const { return std::to_string(locale_.EraYear(Get())); }
  std::string EraYear2() const { return ZeroPadded(EraYear()); }
  std::string MonthAbbreviation() const {
    static const char* const names[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    const int m = Get().Month;
    return names[m >= 1 && m <= 12 ? m - 1 : 0];
  }
  std::string DateSep() const { return locale_.DateSeparator(); }
  std::string TimeSep() const { return locale_.TimeSeparator(); }

 private:
  TDateTime Get() const { return DecodeDateTime(current_ ? locale_.Now() : DrawingTime); }
  const TTextLocale& locale_;
  bool current_;
};

std::string EnglishWeekday(std::string name) {
  static const std::array<std::pair<const char*, const char*>, 7> names = {{{"\x93\xFA", "SUN"},
                                                                            {"\x8C\x8E", "MON"},
                                                                            {"\x89\xCE", "TUE"},
                                                                            {"\x90\x85", "WED"},
                                                                            {"\x96\xD8", "THU"},
                                                                            {"\x8B\xE0", "FRI"},
                                                                            {"\x93\x79", "SAT"}}};
  for (const auto& [japanese, english] : names)
    if (name == japanese) return english;
  return name;
}

// The scale codes. A scale or print factor of 0 (always, in this program) would divide by
// zero: those expand to nothing.
std::string ScaleText(bool withPrint, bool numberOnly, const TTextLocale& locale) {
  if (DrawingScale == 0.0 || (withPrint && PrintFactor == 0.0)) return {};
  const double p = withPrint ? DrawingScale / PrintFactor : DrawingScale;
  const std::string& sep = locale.DecimalSeparator();
  if (p >= 1.0) return (numberOnly ? "" : "1/") + FormatGeneralNumber(p, sep);
  const double inverse = withPrint ? PrintFactor * (1.0 / DrawingScale) : 1.0 / DrawingScale;
  const std::string n = FormatGeneralNumber(std::trunc(inverse * 10.0 + 0.5) / 10.0, sep);
  return numberOnly ? n : n + "/1";
}

using TExpansion = std::function<std::string(const TTextLocale&)>;

// Codes are two or three bytes: the keys live in the map itself, without allocation.
const std::unordered_map<std::string, TExpansion>& Codes() {
  static const std::unordered_map<std::string, TExpansion> codes = [] {
    std::unordered_map<std::string, TExpansion> m;
    const auto add = [&m](std::initializer_list<std::string_view> names, const TExpansion& e) {
      for (const std::string_view n : names) m.emplace(std::string(n), e);
    };
    const auto cur = [](const TTextLocale& l) { return TComponents(l, true); };
    const auto dt = [](const TTextLocale& l) { return TComponents(l, false); };
    const auto shortDate = [](const TComponents& c) {
      std::string s = c.Year4();
      s += c.DateSep();
      s += SpacePadded(c.Month());
      s += c.DateSep();
      s += SpacePadded(c.Day());
      return s;
    };
    const auto longDate = [](const TComponents& c) {
      std::string s = c.Year4();
      s += c.DateSep();
      s += c.Month2();
      s += c.DateSep();
      s += c.Day2();
      return s;
    };
    const auto time = [](const TComponents& c) {
      std::string s = c.Hour2();
      s += c.TimeSep();
      s += c.Minute2();
      s += c.TimeSep();
      s += c.Second2();
      return s;
    };
    add({"$F", "&F", "%F"}, [](const TTextLocale&) { return DrawingPath; });
    add({"_F"}, [=](const TTextLocale& l) { return shortDate(dt(l)) + " " + time(dt(l)); });
    add({"=F"}, [=](const TTextLocale& l) { return longDate(dt(l)) + " " + time(dt(l)); });
    add({"%f"}, [](const TTextLocale&) { return FileNameOf(DrawingPath); });
    add({"$f", "&f"}, [](const TTextLocale&) { return WithoutExtension(FileNameOf(DrawingPath)); });
    add({"_f"}, [=](const TTextLocale& l) { return shortDate(dt(l)); });
    add({"=f"}, [=](const TTextLocale& l) { return longDate(dt(l)); });
    add({"$j", "&j", "%j"}, [=](const TTextLocale& l) { return shortDate(cur(l)); });
    add({"$J", "&J", "%J"}, [=](const TTextLocale& l) {
      const TComponents c = cur(l);
      std::string s = c.Era();
      s += c.EraYear();
      s += "\x94\x4E";  // 年
      s += SpacePadded(c.Month());
      s += "\x8C\x8E";  // 月
      s += SpacePadded(c.Day());
      s += "\x93\xFA";  // 日
      return s;
    });
    const auto yearNumber = [](const TComponents& c) {
      return std::to_string(StrToIntOr0(c.Year2()));
    };
    add({"$y"}, [=](const TTextLocale& l) { return yearNumber(cur(l)); });
    add({"&y"}, [=](const TTextLocale& l) { return SpacePadded(yearNumber(cur(l))); });
    add({"%y"}, [=](const TTextLocale& l) { return cur(l).Year2(); });
    add({"_y"}, [=](const TTextLocale& l) { return SpacePadded(yearNumber(dt(l))); });
    add({"=y"}, [=](const TTextLocale& l) { return dt(l).Year2(); });
    // The components with plain, space-padded, two-digit forms: $ & % for now, _ = for the
    // drawing's time.
    using TPart = std::string (TComponents::*)() const;
    const auto family = [&](char letter, TPart one, TPart two) {
      const std::string k(1, letter);
      add({"$" + k}, [=](const TTextLocale& l) { return (cur(l).*one)(); });
      add({"&" + k}, [=](const TTextLocale& l) { return SpacePadded((cur(l).*one)()); });
      add({"%" + k}, [=](const TTextLocale& l) { return (cur(l).*two)(); });
      add({"_" + k}, [=](const TTextLocale& l) { return SpacePadded((dt(l).*one)()); });
      add({"=" + k}, [=](const TTextLocale& l) { return (dt(l).*two)(); });
    };
    family('Y', &TComponents::EraYear, &TComponents::EraYear2);
    family('m', &TComponents::Month, &TComponents::Month2);
    family('d', &TComponents::Day, &TComponents::Day2);
    family('H', &TComponents::Hour, &TComponents::Hour2);
    family('M', &TComponents::Minute, &TComponents::Minute2);
    family('S', &TComponents::Second, &TComponents::Second2);
    add({"$h"}, [=](const TTextLocale& l) { return cur(l).Hour12(); });
    add({"&h"}, [=](const TTextLocale& l) { return SpacePadded(cur(l).Hour12()); });
    add({"%h"}, [=](const TTextLocale& l) { return ZeroPadded(cur(l).Hour12()); });
    add({"_h"}, [=](const TTextLocale& l) { return SpacePadded(dt(l).Hour12()); });
    add({"=h"}, [=](const TTextLocale& l) { return ZeroPadded(dt(l).Hour12()); });
    add({"$w", "&w", "%w", "$W", "&W", "%W"},
        [=](const TTextLocale& l) { return cur(l).WeekdayName(); });
    add({"=w", "_w", "=W", "_W"}, [=](const TTextLocale& l) { return dt(l).WeekdayName(); });
    add({"$ma", "&ma", "%ma"}, [=](const TTextLocale& l) { return cur(l).MonthAbbreviation(); });
    add({"=ma", "_ma"}, [=](const TTextLocale& l) { return dt(l).MonthAbbreviation(); });
    add({"$wa", "&wa", "%wa"},
        [=](const TTextLocale& l) { return EnglishWeekday(cur(l).WeekdayName()); });
    add({"=wa", "_wa"}, [=](const TTextLocale& l) { return EnglishWeekday(dt(l).WeekdayName()); });
    add({"$n", "&n", "%n"}, [=](const TTextLocale& l) { return cur(l).AmPm(); });
    add({"=n", "_n"}, [=](const TTextLocale& l) { return dt(l).AmPm(); });
    const auto zen = [](const std::string& ampm) {
      return std::string(ampm == "AM" ? "\x91\x4F" : "\x8C\xE3");
    };
    add({"$N", "&N", "%N"}, [=](const TTextLocale& l) { return zen(cur(l).AmPm()); });
    add({"=N", "_N"}, [=](const TTextLocale& l) { return zen(dt(l).AmPm()); });
    add({"$T", "&T", "%T", "=T", "_T"}, [](const TTextLocale&) { return DrawingTitle; });
    add({"%mm"}, [](const TTextLocale&) { return DrawingMemo1 + "\xA5\xA5" + DrawingMemo2; });
    add({"%m1"}, [](const TTextLocale&) { return DrawingMemo1; });
    add({"%m2"}, [](const TTextLocale&) { return DrawingMemo2; });
    add({"%SS"}, [](const TTextLocale& l) { return ScaleText(false, false, l); });
    add({"%SP"}, [](const TTextLocale& l) { return ScaleText(true, false, l); });
    add({"%ss"}, [](const TTextLocale& l) { return ScaleText(false, true, l); });
    add({"%sp"}, [](const TTextLocale& l) { return ScaleText(true, true, l); });
    for (const std::string_view code : {"%f1", "%f2", "%f3", "%f4", "%f5", "%f6", "%f7", "%f8",
                                        "%f9", "%fa", "%fb", "%fc", "%fd", "%fe", "%ff"}) {
      const int n = StrToIntOr0(std::string("$") + code[2]);
      add({code}, [n](const TTextLocale&) {
        const TMbcsBytes head = MbcsCopyBytes(WithoutExtension(FileNameOf(DrawingPath)), 1, n);
        return n == 1 && head.Taken == 0 ? std::string(1, kHalfDot) : head.Text;
      });
    }
    return m;
  }();
  return codes;
}

}  // namespace

std::string FormatGeneralNumber(double value, const std::string& decimalSeparator) {
  if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  std::string s = buffer;
  const std::size_t point = s.find('.');
  if (point != std::string::npos) s.replace(point, 1, decimalSeparator);
  return s;
}

void ApplySpacingMarks(std::string& text, double& W, double& D) {
  if (!MayEndInMark(text)) return;
  double acc = 0.0;
  bool dotEnd = false;
  int dots = 0;
  int digit = 0;
  bool afterCaret = false;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = CharLength(text, i);
    const bool last = i + n >= text.size();
    if (!last) acc += n == 1 ? D / 2.0 : D;
    const std::string_view c = std::string_view(text).substr(i, n);
    if (n == 1 && c[0] == kHalfDot && last) {
      dotEnd = true;
      afterCaret = false;
    } else if (c == kFullDot) {
      ++dots;
      afterCaret = false;
    } else if (c == "^") {
      digit = 0;
      afterCaret = true;
    } else if (n == 1 && c[0] >= '1' && c[0] <= '9' && afterCaret) {
      digit = c[0] - '0';
      afterCaret = false;
    } else {
      dots = 0;
      digit = 0;
      afterCaret = false;
    }
    i += n;
  }
  if (dotEnd) {
    text.pop_back();
    const int cols = ColumnsBeforeLast(text);
    if (cols > 0) {
      D = 2.0 * (W / 2.0 + acc) / cols;
      acc = W / 2.0 + acc;
    }
  }
  if (dots > 0) {
    text.erase(text.size() - std::min(text.size(), static_cast<std::size_t>(2 * dots)));
    const int cols = ColumnsBeforeLast(text);
    if (cols > 0) D = 2.0 * (dots * W + acc) / cols;
  }
  if (digit > 0) {
    text.erase(text.size() - std::min<std::size_t>(text.size(), 2));
    const auto length = static_cast<double>(text.size());
    if (length - digit >= 2.0) {
      const double f = (length - digit) / length;
      W *= f;
      D *= f;
    }
  }
}

bool ExpandSpecialCode(std::string_view text, const TTextLocale& locale, std::string& out) {
  if (text.size() >= 2 && text[0] == '%' && text[1] == '%') {
    for (const TStr2List& v : TextVariables)
      if (v.Name == text) {
        out = v.Value;
        return true;
      }
    return false;
  }
  if (text.size() < 2 || text.size() > 3) return false;
  const auto& codes = Codes();
  const auto it = codes.find(std::string(text));
  if (it == codes.end()) return false;
  out = it->second(locale);
  return true;
}

namespace {

// The escape walk's state and its moves.
class TEscapeWalk {
 public:
  TEscapeWalk(TCanvas& c, const TView& view, int style, const std::string& face, double x, double y,
              double a, double h, double w, double d)
      : c_(c),
        view_(view),
        style_(style),
        face_(face),
        a_(a),
        h_(h),
        w_(w),
        d_(d),
        px_(x),
        py_(y),
        runStyle_(style),
        nextStyle_(style) {}

  void Walk(std::string_view text) {
    const std::size_t len = text.size();
    for (std::size_t j = 0; j < len; ++j) {
      const char b = text[j];
      if (IsLeadByte(b)) {
        if (j + 1 >= len) break;  // a lone lead byte at the end is dropped
        const std::string_view ch = text.substr(j, 2);
        ++j;
        if (overlay_ == 0) {
          run_ += ch;
        } else if (overlay_ == 'w') {
          run_ += "^w";
          run_ += ch;
        } else {
          Overlay(ch, true);
        }
        lastCharWidth_ = 2;
        overlay_ = 0;
      } else if (b != '^') {
        if (overlay_ == 0) {
          run_ += b;
        } else if (overlay_ == 'w') {
          std::size_t m = 1;
          if (j + 1 < len && !IsLeadByte(text[j + 1])) m = 2;
          OverlayW(text.substr(j, m));
          j += m - 1;
        } else {
          Overlay(text.substr(j, 1), false);
        }
        lastCharWidth_ = 1;
        overlay_ = 0;
      } else {
        if (j + 1 >= len) {
          run_ += '^';
          break;
        }
        const char sel = text[++j];
        if (escapesOn_) {
          bool flush = true;
          switch (sel) {
            case '!': nextStyle_ |= kStyleBold; break;
            case '/': nextStyle_ |= kStyleItalic; break;
            case '_': nextStyle_ |= kStyleUnderline; break;
            case '-': nextStyle_ |= kStyleStrikeOut; break;
            case '$': {
              if (++j >= len) {
                run_ += "^$";
                Finish();
                return;
              }
              const int k = StrToIntOr0(text.substr(j, 1));
              if (k >= 1 && k <= 9) {
                pendingColour_ = k;
              } else {
                run_ += "^$";
                run_ += text[j];
                lastCharWidth_ = 1;
                flush = false;
              }
              break;
            }
            case '#': nextStyle_ = style_; break;
            case '*': escapesOn_ = false; break;
            case 'u':
            case 'd':
            case 'o':
            case 'n':
            case 'b':
            case 'B':
            case 'c':
            case 'w':
              if (j + 1 >= len || text[j + 1] == '^') {
                run_ += '^';
                run_ += sel;
                lastCharWidth_ = 1;
                flush = false;
              } else {
                overlay_ = sel;
              }
              break;
            default:
              run_ += '^';
              run_ += sel;
              lastCharWidth_ = 1;
              flush = false;
              break;
          }
          if (flush) Flush();
        } else if (sel == '^') {
          Flush();
          escapesOn_ = true;
        } else {
          run_ += '^';
          run_ += sel;
          lastCharWidth_ = 1;
        }
      }
    }
    Finish();
  }

 private:
  void Finish() {
    if (!run_.empty()) DrawTextRun(c_, view_, runStyle_, face_, px_, py_, a_, h_, w_, d_, run_);
  }

  void Flush() {
    DrawTextRun(c_, view_, runStyle_, face_, px_, py_, a_, h_, w_, d_, run_);
    Advance(static_cast<double>(run_.size()) * (w_ + d_) / 2.0);
    run_.clear();
    runStyle_ = nextStyle_;
    if (pendingColour_ != -1) {
      if (GraAttr) c_.Pen.Color = GraAttr->GetPenColor(pendingColour_);
      pendingColour_ = -1;
    }
  }

  void Advance(double distance) {
    px_ += distance * std::cos(a_);
    py_ += distance * std::sin(a_);
  }

  // The point g back along the base line and up across it.
  void Draw(std::string_view ch, double back, double up, double h, double w, double d) {
    const double qx = px_ + back * std::cos(a_ + kPiD) + up * std::cos(a_ + kPiD / 2.0);
    const double qy = py_ + back * std::sin(a_ + kPiD) + up * std::sin(a_ + kPiD / 2.0);
    DrawTextRun(c_, view_, runStyle_, face_, qx, qy, a_, h, w, d, ch);
  }

  void Overlay(std::string_view ch, bool twoByte) {
    const double s = lastCharWidth_;
    const double absH = std::fabs(h_);
    const double behind = s * d_ / 2.0 + s * w_ / 4.0;
    switch (overlay_) {
      case 'u':
        Draw(ch, 0.0, absH / 2.0, h_ / 2.0, twoByte ? w_ / 2.0 : w_, d_);
        Advance((w_ + d_) / 2.0);
        break;
      case 'd':
        Draw(ch, 0.0, 0.0, h_ / 2.0, twoByte ? w_ / 2.0 : w_, d_);
        Advance((w_ + d_) / 2.0);
        break;
      case 'o':
        Draw(ch, behind + (twoByte ? w_ / 4.0 : w_ / 8.0), absH / 4.0, h_ / 2.0, w_ / 2.0, d_);
        break;
      case 'n': Draw(ch, behind + (twoByte ? w_ / 2.0 : w_ / 4.0), 0.0, h_, w_, d_); break;
      case 'b': Draw(ch, behind + (twoByte ? 0.25 * w_ : 0.125 * w_), 0.0, h_, w_, d_); break;
      case 'B': Draw(ch, behind + (twoByte ? 0.3 * w_ : 0.15 * w_), 0.0, h_, w_, d_); break;
      case 'c':
        Draw(ch, 0.0, absH / 4.0, h_ / 2.0, twoByte ? w_ / 2.0 : w_, d_);
        Advance((w_ + d_) / 2.0);
        break;
      default: break;
    }
  }

  // "w": one or two small one-byte characters on the previous character.
  void OverlayW(std::string_view chars) {
    const double s = lastCharWidth_;
    const double m = static_cast<double>(chars.size());
    const double g = m * w_ / 8.0 + s * d_ / 2.0 + s * w_ / 4.0;
    Draw(chars, g, std::fabs(h_) / 4.0, h_ / 2.0, w_ / 2.0, 0.0);
  }

  TCanvas& c_;
  const TView& view_;
  const int style_;
  const std::string& face_;
  const double a_, h_, w_, d_;
  double px_, py_;
  std::string run_;
  int runStyle_;
  int nextStyle_;
  int pendingColour_ = -1;
  int lastCharWidth_ = 0;
  bool escapesOn_ = true;
  char overlay_ = 0;  // 0 none, else the selector
};

}  // namespace

void DrawEscapedText(TCanvas& c, const TView& view, int styleBits, const std::string& face,
                     double x, double y, double angle, double height, double width, double spacing,
                     std::string_view text) {
  TEscapeWalk(c, view, styleBits, face, x, y, angle, height, width, spacing).Walk(text);
}

void DrawSpecialText(TCanvas& c, const TView& view, int styleBits, const std::string& face,
                     double x, double y, double angle, double height, double width, double spacing,
                     std::string_view text) {
  // A copy only where spacing marks may change the text.
  std::string marked;
  std::string_view t = text;
  if (MayEndInMark(text)) {
    marked.assign(text);
    ApplySpacingMarks(marked, width, spacing);
    t = marked;
  }
  std::string expanded;
  if (ExpandSpecialCode(t, CurrentTextLocale(), expanded)) {
    DrawTextRun(c, view, styleBits, face, x, y, angle, height, width, spacing, expanded);
  } else if ((t.size() >= 2 && t[0] == '%' && t[1] == '%') || t.find('^') == std::string::npos) {
    DrawTextRun(c, view, styleBits, face, x, y, angle, height, width, spacing, t);
  } else {
    DrawEscapedText(c, view, styleBits, face, x, y, angle, height, width, spacing, t);
  }
}

}  // namespace sxf
