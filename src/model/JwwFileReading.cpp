// Opening a drawing file: only regular files, mapped into memory where the system can (the
// pages are read as decoding reaches them), else read whole; then decoded from memory.

#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <system_error>
#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

#include "model/JwwDrawingFile.h"

namespace sxf {

TJwwFileLoad ReadJwwDrawingFile(const std::string& path, TJwwDrawingFile& out) noexcept {
  TJwwFileLoad load;
  try {
    out = TJwwDrawingFile{};
    namespace fs = std::filesystem;
    const fs::path name(std::u8string(path.begin(), path.end()));
    std::error_code error;
    const fs::file_status status = fs::status(name, error);
    if (!fs::exists(status)) {
      load.Problem = TJwwFileProblem::Missing;
      load.Message = "no such file";
      return load;
    }
    // Checked before opening: opening a FIFO would wait for a writer.
    if (!fs::is_regular_file(status)) {
      load.Problem = TJwwFileProblem::NotRegularFile;
      load.Message = "not a regular file (folders, devices and FIFOs are not read)";
      return load;
    }
    const std::uintmax_t size = fs::file_size(name, error);
    if (error) {
      load.Problem = TJwwFileProblem::CannotOpen;
      load.Message = error.message();
      return load;
    }
    if (size > kMaxJwwFileBytes) {
      load.Problem = TJwwFileProblem::TooLarge;
      load.Message =
          "larger than " + std::to_string(kMaxJwwFileBytes >> 20) + " MiB, the most that is read";
      return load;
    }
#if !defined(_WIN32)
    // Mapped rather than copied: the pages are read as the decoding reaches them.
    if (size > 0) {
      const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
      if (fd >= 0) {
        void* image =
            ::mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, MAP_PRIVATE, fd, 0);
        ::close(fd);
        if (image != MAP_FAILED) {
          ::madvise(image, static_cast<std::size_t>(size), MADV_SEQUENTIAL);
          const TJwwFileLoad read = ReadJwwDrawingBytes(
              std::string_view(static_cast<const char*>(image), static_cast<std::size_t>(size)),
              out);
          ::munmap(image, static_cast<std::size_t>(size));
          return read;
        }
      }
    }
#endif
    std::ifstream in(name, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(size))) {
      load.Problem = TJwwFileProblem::CannotOpen;
      load.Message = "the file could not be read";
      return load;
    }
    return ReadJwwDrawingBytes(bytes, out);
  } catch (const std::bad_alloc&) {
    load.Problem = TJwwFileProblem::OutOfMemory;
    load.Message = "out of memory; reading stopped";
    return load;
  } catch (...) {
    // A name that is not UTF-8 names no file.
    load.Problem = TJwwFileProblem::Missing;
    load.Message = "no such file";
    return load;
  }
}

}  // namespace sxf
