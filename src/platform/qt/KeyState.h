#pragma once
// The state of the Escape key, asked of the display server.

#include <functional>

namespace sxf {

// A query that answers whether Escape is held down now. On X11 it asks the server
// (XQueryKeymap), but at most once every cacheMilliseconds (20 ms), answering from the last query
// in between: each query is a round trip, and the drawing code polls every tenth record. Where the
// platform cannot tell (offscreen, Wayland) the query answers false. Call after the application
// object exists.
std::function<bool()> EscapeKeyQuery(int cacheMilliseconds = 20);

}  // namespace sxf
