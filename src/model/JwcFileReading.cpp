// Reading a file or a text from memory: lines out of chunks, each handed to the line rules.

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cstdio>
#include <cstring>
#if defined(_WIN32)
#include <filesystem>
#endif
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/stat.h>
#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

#include "model/JwwEntityLists.h"
#include "model/JwwGaibu2.h"
#include "util/VectorState.h"

namespace sxf {

namespace {

struct TFileCloser {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using TFile = std::unique_ptr<std::FILE, TFileCloser>;

// Splits a stream of chunks into lines for the reader: CR LF, LF and a lone CR each end a
// line. A line longer than the limit is cut there and the rest of it dropped.
class TLineSplitter {
 public:
  TLineSplitter(TJwcReader& reader, TReadProgress& progress, std::size_t maxLine) noexcept
      : reader_(reader), progress_(progress), maxLine_(maxLine) {}

  // Hands on every line that ends in [p, end) and returns where the unfinished rest begins:
  // it holds no line end and is shorter than the limit. At the end of the file the rest is
  // the last line and is handed on too. offset is where p lies in the whole text.
  const char* Feed(const char* p, const char* end, bool atEof, std::uint64_t offset = 0) {
    const char* const begin = p;
    if (afterCr_ && p < end) {
      if (*p == '\n') ++p;
      afterCr_ = false;
    }
    while (p < end) {
      progress_.Consumed = offset + static_cast<std::uint64_t>(p - begin);
      if (dropping_) {
        const char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n') ++lineEnd;
        if (lineEnd == end) {
          dropping_ = !atEof;
          return end;
        }
        dropping_ = false;
        p = AfterLineEnd(lineEnd, end, atEof);
        continue;
      }
      // One pass over the line finds its end and its fields.
      const auto available = static_cast<std::size_t>(end - p);
      const char* const limit = available > maxLine_ ? p + maxLine_ : end;
      const char* const lineEnd = fields_.SplitToLineEnd(p, limit);
      if (lineEnd == limit) {  // no line end among the bytes the line may have
        if (limit == end && !atEof && available < maxLine_) return p;  // the rest comes later
        reader_.ParseFields(fields_);
        // At the end of the file that was the last line; else it is cut at the limit and
        // the rest of it is dropped.
        if (limit == end && atEof) return end;
        dropping_ = true;
        p = limit;
        continue;
      }
      reader_.ParseFields(fields_);
      p = AfterLineEnd(lineEnd, end, atEof);
    }
    return p;
  }

 private:
  // Past the CR, LF or CR LF at lineEnd.
  const char* AfterLineEnd(const char* lineEnd, const char* end, bool atEof) noexcept {
    const char* p = lineEnd + 1;
    if (*lineEnd == '\r') {
      if (p < end) {
        if (*p == '\n') ++p;
      } else if (!atEof) {
        afterCr_ = true;  // the LF of a CR LF may come with the next chunk
      }
    }
    return p;
  }

  TJwcReader& reader_;
  TReadProgress& progress_;
  std::size_t maxLine_;
  TJwwFields fields_;      // reused for every line: splitting allocates only when a line grows
  bool dropping_ = false;  // inside the dropped rest of an over-long line
  bool afterCr_ = false;   // the last chunk ended with a CR
};

void SetOpenFailure(TJwcLoadResult& result, int error) noexcept {
  result.Error = error;
  result.Exists = error != ENOENT && error != ENOTDIR;
  result.Problem = result.Exists ? TJwcLoadProblem::CannotOpen : TJwcLoadProblem::Missing;
}

// Opens a regular file for reading. Anything else (a FIFO, a device, a folder) is refused
// before a byte is read: a FIFO without a writer would block, a device might never end.
TFile OpenRegularFile(const std::string& path, TJwcLoadResult& result, std::uint64_t& size) {
  errno = 0;
#if defined(_WIN32)
  // The name is UTF-8: the narrow calls would read it in the ANSI code page and miss a folder
  // named ツール on a Western system.
  std::wstring wide;
  try {
    wide = std::filesystem::path(std::u8string(path.begin(), path.end())).wstring();
  } catch (...) {
    SetOpenFailure(result, ENOENT);  // not UTF-8: no file has that name
    return nullptr;
  }
  TFile file(_wfopen(wide.c_str(), L"rb"));
  if (!file) {
    const int error = errno;
    // Windows refuses to open a folder at all (EACCES): say what it is.
    // The C library's stat refuses a folder's name with a trailing separator ("C:\Temp\").
    std::wstring folder = wide;
    while (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/') &&
           !(folder.size() == 3 && folder[1] == L':'))
      folder.pop_back();
    struct _stat64 st {};
    if (::_wstat64(folder.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == S_IFDIR) {
      result.Exists = true;
      result.Problem = TJwcLoadProblem::NotRegularFile;
      return nullptr;
    }
    SetOpenFailure(result, error);
    return nullptr;
  }
  const int fd = _fileno(file.get());
#else
  // Without O_NONBLOCK, opening a FIFO waits for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    SetOpenFailure(result, errno);
    return nullptr;
  }
  TFile file(::fdopen(fd, "rb"));
  if (!file) {
    SetOpenFailure(result, errno != 0 ? errno : EIO);
    ::close(fd);
    return nullptr;
  }
#endif
  result.Exists = true;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    result.Error = errno;
    result.Problem = TJwcLoadProblem::CannotOpen;
    return nullptr;
  }
  if ((st.st_mode & S_IFMT) != S_IFREG) {
    result.Problem = TJwcLoadProblem::NotRegularFile;
    return nullptr;
  }
  size = st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
#if !defined(_WIN32)
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
#endif
  return file;
}

}  // namespace

// Tells the lists how long the text being read is, for as long as it is read.
class TReadProgressScope {
 public:
  TReadProgressScope(TJwcReader& reader, std::uint64_t total) noexcept
      : progress_(reader.progress_) {
    progress_ = {total, 0};
  }
  ~TReadProgressScope() { progress_ = {}; }
  TReadProgressScope(const TReadProgressScope&) = delete;
  TReadProgressScope& operator=(const TReadProgressScope&) = delete;
  TReadProgress& Progress() noexcept { return progress_; }

 private:
  TReadProgress& progress_;
};

TJwcLoadResult TJwcReader::ReadFile(const std::string& path, const TJwcReadLimits& limits) {
  ClearUpperVectorState();
  TJwcLoadResult result;
  std::uint64_t size = 0;
  const TFile file = OpenRegularFile(path, result, size);
  if (!file) return result;
  TReadProgressScope progress(*this, std::min(size, limits.MaxFileBytes));

  const std::size_t maxLine = limits.MaxLineBytes > 0 ? limits.MaxLineBytes : 1;
  std::uint64_t total = 0;
  try {
    // The unfinished rest of a chunk is shorter than a line may be, so a buffer of two
    // lines' length always has room to read into, and never grows.
    std::vector<char> buffer(2 * maxLine);
    TLineSplitter lines(*this, progress.Progress(), maxLine);
    std::size_t filled = 0;
    for (;;) {
      std::size_t want = buffer.size() - filled;
      assert(want > 0);
      if (want > limits.MaxFileBytes - total)
        want = static_cast<std::size_t>(limits.MaxFileBytes - total);
      const std::size_t got =
          want > 0 ? std::fread(buffer.data() + filled, 1, want, file.get()) : 0;
      if (total == 0 && !LooksLikeText(std::string_view(buffer.data(), got))) {
        result.NotText = true;
        result.BytesRead = got;
        return result;
      }
      filled += got;
      total += got;
      result.BytesRead = static_cast<std::size_t>(total);
      bool atEof = got < want;
      if (want == 0) {
        // At the limit: one more byte tells a file that ends here from one that goes on.
        char probe = 0;
        if (std::fread(&probe, 1, 1, file.get()) == 1) {
          result.Problem = TJwcLoadProblem::TooLarge;
          result.Error = EFBIG;
          return result;  // the line the limit cut short is not interpreted
        }
        atEof = true;
      }
      if (atEof && std::ferror(file.get())) {
        result.Error = errno != 0 ? errno : EIO;
        result.Problem = TJwcLoadProblem::ReadError;
        return result;  // what was read stays; the unfinished last line is not interpreted
      }
      const char* begin = buffer.data();
      const char* rest = lines.Feed(begin, begin + filled, atEof, total - filled);
      if (atEof) break;
      const auto used = static_cast<std::size_t>(rest - begin);
      if (used > 0) {
        std::memmove(buffer.data(), rest, filled - used);
        filled -= used;
      }
    }
  } catch (const std::bad_alloc&) {
    // The model keeps every record it completed; the order list never points past a list.
    result.Problem = TJwcLoadProblem::OutOfMemory;
    result.Error = ENOMEM;
    return result;
  } catch (const std::length_error&) {
    result.Problem = TJwcLoadProblem::OutOfMemory;
    result.Error = ENOMEM;
    return result;
  }
  result.ReadToEnd = true;
  return result;
}

bool LooksLikeText(std::string_view head) noexcept {
  head = head.substr(0, kTextCheckBytes);
  std::size_t control = 0;
  for (const char ch : head) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != 0x1A) ++control;
  }
  return control * 16 <= head.size();
}

void TJwcReader::ParseText(std::string_view text, std::size_t maxLine) {
  TReadProgressScope progress(*this, text.size());
  TLineSplitter(*this, progress.Progress(), maxLine > 0 ? maxLine : 1)
      .Feed(text.data(), text.data() + text.size(), true);
}

TJwcLoad ReadJwcTempFile(const std::string& path, const TJwcReadLimits& limits) {
  TJwcReader reader;
  TJwcLoadResult result = reader.ReadFile(path, limits);
  reader.ResetCurrentState();
  return {std::move(reader.Drawing()), result};
}

TDrawing ParseJwcText(std::string_view text, std::size_t maxLine) {
  TJwcReader reader;
  reader.ParseText(text, maxLine);
  return std::move(reader.Drawing());
}

std::string DescribeJwcLoadProblem(const TJwcLoadResult& result) {
  if (result.NotText) return "not text: it is not an interchange file";
  const std::string after = " after " + std::to_string(result.BytesRead) + " bytes";
  switch (result.Problem) {
    case TJwcLoadProblem::None: return {};
    case TJwcLoadProblem::Missing: return std::strerror(ENOENT);
    case TJwcLoadProblem::CannotOpen: return std::strerror(result.Error != 0 ? result.Error : EIO);
    case TJwcLoadProblem::NotRegularFile:
      return "not a regular file (folders, devices and FIFOs are not read)";
    case TJwcLoadProblem::TooLarge:
      return "larger than " + std::to_string(kMaxJwcFileBytes >> 20) +
             " MiB, the most that is read; reading stopped" + after;
    case TJwcLoadProblem::OutOfMemory: return "out of memory; reading stopped" + after;
    case TJwcLoadProblem::ReadError:
      return std::string(std::strerror(result.Error != 0 ? result.Error : EIO)) + after;
  }
  return {};
}

}  // namespace sxf
