// sxf-usertype-finder.exe: the window. It takes no arguments; it reads JWC_TEMP.TXT from its
// own folder and keeps its settings in the .dat file beside itself.

#include <memory>

#include "form/WindowSettings.h"
#include "platform/win32/KeyState.h"
#include "platform/win32/ProgramPath.h"
#include "platform/win32/TextLocale.h"
#include "platform/win32/Win32Form.h"
#include "platform/win32/WindowsApi.h"
#include "render/UserBreak.h"
#include "text/TextLocale.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  sxf::SetUserBreakSource(sxf::EscapeKeyQuery());
  sxf::SetTextLocale(std::make_shared<sxf::TWin32TextLocale>());
  const std::string programFile = sxf::ProgramFilePath();
  sxf::TWin32Form form(instance, sxf::ProgramFolderPath(), sxf::SettingsFileName(programFile));
  if (!form.Create(showCommand)) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (form.PreviewMessage(msg)) continue;  // a navigation key or the wheel, used up
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
