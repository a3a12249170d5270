#pragma once
// What the window can learn about the desktop's window manager.

#include <QMargins>
#include <optional>

class QWindow;

namespace sxf {

// True when a window manager runs on the display (it frames, moves and sizes top-level
// windows, so their final placement comes some time after they are mapped). False on
// platforms that cannot tell and on displays without one.
bool WindowManagerPresent();

// The margins the window manager's frame will add around the window (left, top, right,
// bottom pixels), asked for before the window is mapped so that it can be sized and placed
// by its frame at once. Empty when the window manager does not answer within a short time.
std::optional<QMargins> FrameExtentsBeforeMapping(QWindow& window);

}  // namespace sxf
