#pragma once
// What Ctrl+S writes and how: the names of the picture and the two CSV files from the name the
// user chose, and writing a set of files so that none is ever left half-written. Names are
// UTF-8 (on Windows too, where the files are opened by their wide names).

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sxf {

// The picture (".png" added when the chosen name lacks it, in any case) and beside it, with
// the same base name, the tally and the list of marks.
struct TSavedFileNames {
  std::string Picture, Tally, Marks;
};
TSavedFileNames SavedFileNames(const std::string& chosen);

// The name the save dialog offers (Shift-JIS, without folder): the drawing's file name (as the
// host gives it, a Windows path) without its folder and extension, or "JWC_TEMP" for a
// drawing without one, then ".png". Characters no file name may hold become '_'.
std::string SuggestedPictureName(const std::string& drawingFile);

// The name after the last folder separator.
std::string LastPathPart(const std::string& path);

// Why a file could not be written: errno where the C library said it, else the writer's own
// words (English).
struct TWriteFailure {
  std::string File;  // the name it was to have
  int Error = 0;
  std::string Reason;
};

// Files written as one: each goes into a temporary file beside its name, and only once every
// one is complete are they renamed to their names (an older file of the name is replaced).
// A failure removes the temporary files and no new file appears.
class TFileSetWriter {
 public:
  // The file's bytes.
  void AddBytes(std::string path, std::string bytes);
  // A file its writer writes under the name it is given; the writer returns an empty string
  // on success, else what went wrong.
  void AddWriter(std::string path, std::function<std::string(const std::string& path)> write);
  // Writes them all; nothing on success.
  std::optional<TWriteFailure> Commit();

 private:
  struct TEntry {
    std::string Path;
    std::function<std::string(const std::string& path)> Write;
    std::string Bytes;
  };
  std::vector<TEntry> entries_;
};

}  // namespace sxf
