#include "form/SavedFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "util/MyFunc.h"

namespace sxf {

namespace {

namespace fs = std::filesystem;

fs::path PathOf(const std::string& name) {
#if defined(_WIN32)
  return fs::path(std::u8string(name.begin(), name.end()));
#else
  return fs::path(name);
#endif
}

std::FILE* OpenForWriting(const std::string& name) {
  try {
#if defined(_WIN32)
    return _wfopen(PathOf(name).c_str(), L"wb");
#else
    return std::fopen(name.c_str(), "wb");
#endif
  } catch (...) {  // a name that does not convert
    errno = EINVAL;
    return nullptr;
  }
}

// 0, or errno of the first step that failed.
int WriteBytes(const std::string& name, std::string_view bytes) {
  errno = 0;
  std::FILE* f = OpenForWriting(name);
  if (!f) return errno != 0 ? errno : EIO;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fflush(f) == 0 && ok;
  const int error = errno;
  ok = std::fclose(f) == 0 && ok;
  if (ok) return 0;
  return error != 0 ? error : (errno != 0 ? errno : EIO);
}

void Remove(const std::string& name) {
  std::error_code ec;
  fs::remove(PathOf(name), ec);
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::string LastPathPart(const std::string& path) {
  // Shift-JIS trail bytes may be 0x5C: separators are looked for character by character.
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsLeadByte(path[i]) && i + 1 < path.size()) {
      ++i;
    } else if (IsSeparator(path[i]) || path[i] == ':') {
      start = i + 1;
    }
  }
  return path.substr(start);
}

TSavedFileNames SavedFileNames(const std::string& chosen) {
  std::string base = chosen;
  const auto endsInPng = [](std::string_view name) {
    if (name.size() < 4) return false;
    std::string tail(name.substr(name.size() - 4));
    for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return tail == ".png";
  };
  if (endsInPng(base)) base.resize(base.size() - 4);
  return {base + ".png", base + "-tally.csv", base + "-marks.csv"};
}

std::string SuggestedPictureName(const std::string& drawingFile) {
  std::string name = LastPathPart(drawingFile);
  // The extension: the last '.' outside a double-byte character.
  std::size_t dot = std::string::npos;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (IsLeadByte(name[i]) && i + 1 < name.size())
      ++i;
    else if (name[i] == '.')
      dot = i;
  }
  if (dot != std::string::npos) name.resize(dot);
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (IsLeadByte(name[i]) && i + 1 < name.size()) {
      ++i;
    } else if (static_cast<unsigned char>(name[i]) < 0x20 || std::strchr("<>:\"/\\|?*", name[i])) {
      name[i] = '_';
    }
  }
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
  return (name.empty() ? std::string("JWC_TEMP") : name) + ".png";
}

void TFileSetWriter::AddBytes(std::string path, std::string bytes) {
  entries_.push_back({std::move(path), nullptr, std::move(bytes)});
}

void TFileSetWriter::AddWriter(std::string path,
                               std::function<std::string(const std::string& path)> write) {
  entries_.push_back({std::move(path), std::move(write), {}});
}

std::optional<TWriteFailure> TFileSetWriter::Commit() {
  const auto temporary = [](const TEntry& e) { return e.Path + ".partial"; };
  const auto removeTemporaries = [&](std::size_t from) {
    for (std::size_t i = from; i < entries_.size(); ++i) Remove(temporary(entries_[i]));
  };
  for (const TEntry& e : entries_) {
    // A writer's own file is made here first, so that a folder that takes no file is told
    // by the C library's words, as for the others.
    if (const int error = WriteBytes(temporary(e), e.Bytes); error != 0) {
      removeTemporaries(0);
      return TWriteFailure{e.Path, error, {}};
    }
    if (e.Write) {
      if (std::string reason = e.Write(temporary(e)); !reason.empty()) {
        removeTemporaries(0);
        return TWriteFailure{e.Path, 0, std::move(reason)};
      }
    }
  }
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    std::error_code ec;
    fs::rename(PathOf(temporary(entries_[i])), PathOf(entries_[i].Path), ec);
    if (ec) {
      removeTemporaries(i);
      return TWriteFailure{entries_[i].Path, 0, ec.message()};
    }
  }
  return std::nullopt;
}

}  // namespace sxf
