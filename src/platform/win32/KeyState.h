#pragma once
// The state of the Escape key, from the Windows API.

#include <functional>

namespace sxf {

// A query that answers whether Escape is held down now (GetAsyncKeyState). It reads the key
// state only and processes no window messages.
std::function<bool()> EscapeKeyQuery();

}  // namespace sxf
