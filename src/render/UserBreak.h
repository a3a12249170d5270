#pragma once
// The user's break: true while the Escape key is held down. Long drawing loops poll it; it
// reads the key state only and processes no window messages.

#include <functional>
#include <vector>

namespace sxf {

bool CheckUserBreak();

// The clock of the break in the drawing loops: a list's records are visited in order, and
// stop() (CheckUserBreak, or what stands for it) is asked after records 0, 10, 20, ... visited
// and once more after the list. some: the records to visit, ascending (the drawing index's
// answer); nullptr visits 0 .. count - 1. False when stop() said stop.
inline constexpr int kBreakPollEvery = 10;
template <typename Visit, typename Stop>
bool VisitPollingBreak(const std::vector<int>* some, int count, Visit visit, Stop stop) {
  if (some) {
    int looked = 0;
    for (int i : *some) {
      visit(i);
      if (looked++ % kBreakPollEvery == 0 && stop()) return false;
    }
    return !stop();
  }
  for (int i = 0; i < count; ++i) {
    visit(i);
    if (i % kBreakPollEvery == 0 && stop()) return false;
  }
  return !stop();
}

// Where the key state comes from. The platform installs its query at start-up; without one
// (tests, the report tool) there is never a break.
void SetUserBreakSource(std::function<bool()> escapeHeld);

// The source installed now (empty when there is none), so that a caller can wrap it for a while.
std::function<bool()> UserBreakSource();

}  // namespace sxf
