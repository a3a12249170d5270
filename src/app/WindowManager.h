#pragma once
// What the window can learn about the desktop's window manager.

namespace sxf {

// True when a window manager runs on the display (it frames, moves and sizes top-level
// windows, so their final placement comes some time after they are mapped). False on
// platforms that cannot tell and on displays without one.
bool WindowManagerPresent();

}  // namespace sxf
