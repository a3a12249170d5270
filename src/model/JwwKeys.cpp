#include "model/JwwKeys.h"

#include "util/MyFunc.h"

namespace sxf {

std::string Cut255(std::string_view s) { return std::string(s.substr(0, 255)); }

bool StartsWith(std::string_view s, std::string_view prefix) noexcept {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

std::string_view From(std::string_view s, std::size_t pos) noexcept {
  return pos < s.size() ? s.substr(pos) : std::string_view();
}

int HexDigitAt(std::string_view key, std::size_t pos) noexcept {
  if (pos >= key.size()) return 0;
  const char digit[2] = {'$', key[pos]};
  const int v = StrToIntOr0(std::string_view(digit, 2));
  return (v >= 0 && v <= 15) ? v : 0;
}

int TextCodeOf(std::string_view key) noexcept {
  if (key.size() != 2 || key[0] != 'c') return -1;
  switch (key[1]) {
    case 'h': return 0;
    case 'v': return 1;
    case 's': return 2;
    case 'r': return 3;
    case 'o': return 4;
    case 'p': return 5;
    case 't': return 6;
    case 'k': return 7;
    case 'z': return 8;
    case '2': return 9;
    default: return -1;
  }
}

int DesignatedPointNumber(std::string_view key, int& kind) noexcept {
  const std::string_view rest = From(key, 2);
  static constexpr std::string_view kSuffix[4] = {"-", "ln", "ci", "ch"};
  std::size_t end = rest.size();
  kind = 0;
  for (int s = 0; s < 4; ++s) {
    const std::size_t pos = rest.find(kSuffix[s]);
    if (pos != std::string_view::npos) {
      end = pos;
      kind = s + 1;
    }
  }
  return StrToIntOr0(rest.substr(0, end));
}

int HhpNumber(std::string_view key) noexcept {
  const std::string_view rest = From(key, 3);
  static constexpr std::string_view kSuffix[3] = {"ln", "ci", "ch"};
  std::size_t end = rest.size();
  for (std::string_view suffix : kSuffix) {
    const std::size_t pos = rest.find(suffix);
    if (pos != std::string_view::npos) end = pos;
  }
  return StrToIntOr0(rest.substr(0, end));
}

}  // namespace sxf
