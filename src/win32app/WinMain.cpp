// sxf-usertype-finder.exe: the window. Started without arguments, as the host starts it, it
// reads JWC_TEMP.TXT from its own folder; given a path, that drawing file. It keeps its
// settings in the .dat file beside itself. --version prints the version on the console it was
// started from.

#include <string>
#include <vector>

#include "form/WindowSettings.h"
#include "platform/win32/KeyState.h"
#include "platform/win32/ProgramPath.h"
#include "platform/win32/TextLocale.h"
#include "platform/win32/WindowsApi.h"
#include "render/UserBreak.h"
#include "win32app/Win32Form.h"

namespace {

bool AskedForVersion() {
  const std::vector<std::string> args = sxf::ProgramArguments();
  return args.size() == 1 && args[0] == "--version";
}

// A window program has no console of its own: the text goes to the one it was started from.
void PrintVersion() {
  AttachConsole(ATTACH_PARENT_PROCESS);
  const std::string text = std::string("sxf-usertype-finder ") + SXF_VERSION + "\r\n";
  DWORD written = 0;
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out && out != INVALID_HANDLE_VALUE)
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  if (AskedForVersion()) {
    PrintVersion();
    return 0;
  }
  sxf::SetUserBreakSource(sxf::EscapeKeyQuery());
  sxf::InstallSystemTextLocale();
  const std::string programFile = sxf::ProgramFilePath();
  sxf::TWin32Form form(instance, sxf::ProgramFolderPath(), sxf::SettingsFileName(programFile));
  if (const std::vector<std::string> args = sxf::ProgramArguments(); args.size() == 1)
    form.OpenAtStart(args[0]);
  if (!form.Create(showCommand)) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (form.PreviewMessage(msg)) continue;  // a navigation key or the wheel, used up
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
