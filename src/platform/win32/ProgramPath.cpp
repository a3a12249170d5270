#include "platform/win32/ProgramPath.h"

#include "platform/win32/ShiftJis.h"
#include "platform/win32/WindowsApi.h"

#include <vector>

namespace sxf {

namespace {

std::wstring ModuleFileName() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    if (buffer.size() >= 32768) return {};  // longer than any path Windows allows
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

std::string ProgramFilePath() { return WideToUtf8(ModuleFileName()); }

std::string ProgramFolderPath() {
  std::wstring path = ModuleFileName();
  const std::size_t slash = path.find_last_of(L"\\/");
  path.resize(slash == std::wstring::npos ? 0 : slash + 1);
  return WideToUtf8(path);
}

}  // namespace sxf
