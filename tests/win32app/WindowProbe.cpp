// window-probe: asks the finder's main window from outside, as the tests need it.
//   window-probe close             posts WM_CLOSE, as the taskbar's Close does
//   window-probe close-minimised   the same once the window is minimised (30 s at most)
//   window-probe help-wraps        whether the help box wraps its lines (no sideways scrolling)
// Exit status 0 for yes or done, 1 for no or no such window. (Wine's taskkill does not find a
// 64-bit program's process in every setup.)

#include <windows.h>

#include <cstring>

namespace {

// The first multi-line edit control below the form: the help box.
BOOL CALLBACK FindHelpBox(HWND hwnd, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(hwnd, name, 16);
  if (lstrcmpiW(name, L"Edit") != 0 || !(GetWindowLongW(hwnd, GWL_STYLE) & ES_MULTILINE))
    return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
  const char* ask = argc > 1 ? argv[1] : "close";
  HWND form = FindWindowW(L"SxfUsertypeFinderForm1", nullptr);
  if (!form) return 1;
  if (std::strcmp(ask, "help-wraps") == 0) {
    HWND help = nullptr;
    EnumChildWindows(form, FindHelpBox, reinterpret_cast<LPARAM>(&help));
    return help && !(GetWindowLongW(help, GWL_STYLE) & (WS_HSCROLL | ES_AUTOHSCROLL)) ? 0 : 1;
  }
  if (std::strcmp(ask, "close-minimised") == 0)
    for (int i = 0; i < 300 && !IsIconic(form); ++i) Sleep(100);
  return PostMessageW(form, WM_CLOSE, 0, 0) ? 0 : 1;
}
