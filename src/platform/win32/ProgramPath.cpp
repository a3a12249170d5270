#include "platform/win32/ProgramPath.h"

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

std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  const int len = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), len, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), len, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

std::string ProgramFilePath() { return ToAnsi(ModuleFileName()); }

std::string ProgramFolderPath() {
  std::wstring path = ModuleFileName();
  const std::size_t slash = path.find_last_of(L"\\/");
  path.resize(slash == std::wstring::npos ? 0 : slash + 1);
  return ToAnsi(path);
}

}  // namespace sxf
