// manifest-check EXE...: reads each program's manifest resource as Windows does at start
// (resource 1 of RT_MANIFEST) and fails unless it asks for per-monitor v2 awareness with the
// per-monitor fallback and Common Controls 6, and leaves the ANSI code page alone.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace {

std::string ManifestOf(const wchar_t* exe) {
  HMODULE module =
      LoadLibraryExW(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return {};
  std::string text;
  if (HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)))
    if (HGLOBAL data = LoadResource(module, res))
      text.assign(static_cast<const char*>(LockResource(data)), SizeofResource(module, res));
  FreeLibrary(module);
  return text;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  int failures = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string manifest = ManifestOf(argv[i]);
    const auto has = [&](std::string_view s) { return manifest.find(s) != std::string::npos; };
    const bool ok = has("<dpiAwareness "
                        "xmlns=\"http://schemas.microsoft.com/SMI/2016/"
                        "WindowsSettings\">PerMonitorV2, PerMonitor<") &&
                    has(">true/pm</dpiAware>") &&
                    has("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"") &&
                    !has("<activeCodePage");
    std::printf("%ls: %s\n%s\n", argv[i], ok ? "ok" : "FAILED", manifest.c_str());
    if (!ok) ++failures;
  }
  LocalFree(argv);
  return argc > 1 && failures == 0 ? 0 : 1;
}
