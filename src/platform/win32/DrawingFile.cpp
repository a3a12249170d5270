#include "platform/win32/DrawingFile.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>
#include <stdexcept>
#include <string_view>

#include "model/JwwGaibu2.h"
#include "platform/win32/ShiftJis.h"

namespace sxf {

namespace {

struct TCloseFile {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

// The text up to and including its last line break: the lines read whole.
std::string_view WholeLines(std::string_view text) noexcept {
  const std::size_t end = text.find_last_of("\r\n");
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

}  // namespace

bool LoadJwcTempFileByUtf8Name(const std::string& path) {
  const std::unique_ptr<std::FILE, TCloseFile> file(_wfopen(Utf8ToWide(path).c_str(), L"rb"));
  if (!file) return false;  // missing, or a folder (Windows opens none)
  struct _stat64 st {};
  if (_fstat64(_fileno(file.get()), &st) != 0 || (st.st_mode & _S_IFMT) != _S_IFREG) return false;

  std::string text;
  bool whole = true;
  try {
    if (st.st_size > 0 && static_cast<std::uint64_t>(st.st_size) <= kMaxJwcFileBytes)
      text.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[64 * 1024];
    for (;;) {
      const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
      if (got == 0) break;
      if (text.size() + got > kMaxJwcFileBytes) {
        whole = false;  // too large: reading stops at the limit
        text.append(buffer, static_cast<std::size_t>(kMaxJwcFileBytes - text.size()));
        break;
      }
      text.append(buffer, got);
    }
    if (std::ferror(file.get())) whole = false;
  } catch (const std::bad_alloc&) {
    whole = false;
  } catch (const std::length_error&) {
    whole = false;
  }
  try {
    ParseJwcText(whole ? std::string_view(text) : WholeLines(text));
  } catch (const std::bad_alloc&) {
    return false;  // the model keeps every record it completed
  } catch (const std::length_error&) {
    return false;
  }
  return whole;
}

}  // namespace sxf
