#include "render/UserBreak.h"

#include <utility>

namespace sxf {

namespace {
std::function<bool()>& Source() {
  static std::function<bool()> source;
  return source;
}
}  // namespace

bool CheckUserBreak() {
  const auto& source = Source();
  return source ? source() : false;
}

void SetUserBreakSource(std::function<bool()> escapeHeld) { Source() = std::move(escapeHeld); }

std::function<bool()> UserBreakSource() { return Source(); }

}  // namespace sxf
