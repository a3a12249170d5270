#include "platform/win32/KeyState.h"

#include "platform/win32/WindowsApi.h"

namespace sxf {

std::function<bool()> EscapeKeyQuery() {
  // The high bit is the key's state now; the low bit (pressed since the last call) is not
  // looked at, so a press that ended before the drawing began does not stop it.
  return [] { return (static_cast<unsigned short>(GetAsyncKeyState(VK_ESCAPE)) & 0x8000u) != 0; };
}

}  // namespace sxf
