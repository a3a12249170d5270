// post-close: posts WM_CLOSE to the finder's main window, as the taskbar's Close does, also
// while it is minimised; exit status 1 when there is no such window. (Wine's taskkill does
// not find a 64-bit program's process in every setup.)

#include <windows.h>

int main() {
  HWND form = FindWindowW(L"SxfUsertypeFinderForm1", nullptr);
  if (!form) return 1;
  return PostMessageW(form, WM_CLOSE, 0, 0) ? 0 : 1;
}
