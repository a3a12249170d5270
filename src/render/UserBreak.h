#pragma once
// The user's break: true while the Escape key is held down. Long drawing loops poll it; it
// reads the key state only and processes no window messages.

#include <functional>

namespace sxf {

bool CheckUserBreak();

// Where the key state comes from. The platform installs its query at start-up; without one
// (tests, the report tool) there is never a break.
void SetUserBreakSource(std::function<bool()> escapeHeld);

// The source installed now (empty when there is none), so that a caller can wrap it for a while.
std::function<bool()> UserBreakSource();

}  // namespace sxf
