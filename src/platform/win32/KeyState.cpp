#include "platform/win32/KeyState.h"

#include "platform/win32/WindowsApi.h"

namespace sxf {

namespace {

bool EscapeHeldNow() noexcept {
  // The high bit is the key's state now; the low bit (pressed since the last call) is not
  // looked at, so a press that ended before the drawing began does not stop it.
  return (static_cast<unsigned short>(GetAsyncKeyState(VK_ESCAPE)) & 0x8000u) != 0;
}

bool RunningUnderWine() noexcept {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace

std::function<bool()> EscapeKeyQuery() {
  if (!RunningUnderWine()) return [] { return EscapeHeldNow(); };
  // Wine's key state follows the X server only as far as the thread has read its input: a
  // drawing that reads none would never see Escape. Peeking at (not removing) the keyboard
  // messages makes Wine read it; at most every 20 ms, as each peek asks the server.
  return [lastTick = ULONGLONG{0}, held = false]() mutable {
    const ULONGLONG now = GetTickCount64();
    if (lastTick != 0 && now - lastTick < 20) return held;
    lastTick = now;
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE | PM_NOYIELD);
    held = EscapeHeldNow();
    return held;
  };
}

}  // namespace sxf
