#include "model/DrawingFiles.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <new>
#include <utility>

#include "model/BlockExpansion.h"
#include "model/JwwDrawingFile.h"
#include "model/ShiftJisFromUtf16.h"

namespace sxf {

namespace {

// A UTF-8 name as the file system takes it (wide on Windows).
std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The first bytes of a regular file, or nothing when it is none or cannot be opened (a FIFO is
// never opened: that would wait for a writer).
std::string FirstBytes(const std::string& path, std::size_t count) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(PathOf(path), error)) return {};
  std::ifstream in(PathOf(path), std::ios::binary);
  std::string bytes(count, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(count));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

// A path (UTF-8) as the interchange text names the drawing: Shift-JIS.
std::string ShiftJisPath(const std::string& utf8) {
  const std::u16string units = PathOf(utf8).u16string();
  std::string little;
  for (const char16_t u : units) {
    little += static_cast<char>(u & 0xFF);
    little += static_cast<char>(u >> 8);
  }
  std::string out;
  AppendShiftJisFromUtf16Le(reinterpret_cast<const unsigned char*>(little.data()), units.size(),
                            out);
  return out;
}

const char* ExpansionWords(TBlockExpansionProblem p) noexcept {
  switch (p) {
    case TBlockExpansionProblem::None: return "";
    case TBlockExpansionProblem::MissingDefinition: return "a block reference names no block";
    case TBlockExpansionProblem::Cycle: return "a block contains itself";
    case TBlockExpansionProblem::TooDeep: return "blocks nested too deep";
    case TBlockExpansionProblem::TooManyRecords: return "too many records drawn from blocks";
    case TBlockExpansionProblem::OutOfMemory: return "out of memory drawing the blocks";
  }
  return "";
}

void LoadDrawingFile(const std::string& path, TDrawingLoad& load) {
  TJwwDrawingFile file;
  const TJwwFileLoad read = ReadJwwDrawingFile(path, file);
  TDrawing& d = load.Drawing;
  load.ReadToEnd = read.ReadToEnd;
  load.Problem = read.Message;
  load.NothingRead = read.Problem == TJwwFileProblem::Missing ||
                     read.Problem == TJwwFileProblem::CannotOpen ||
                     read.Problem == TJwwFileProblem::NotRegularFile || read.BytesRead == 0;
  if (load.NothingRead) return;
  d.File.Version = file.Version;
  d.JwwFileName = ShiftJisPath(path);
  CopyLayerTables(file, d);
  d.File.TopRecords[0] = file.Top.EntOrderCount();
  ForEachEntityList(file.Top, [&d](const char*, int kind, const auto& list) {
    d.File.TopRecords[static_cast<std::size_t>(kind)] = TEntityLists::Count(list);
  });
  TBlockExpansion expansion;
  if (file.Top.BlkList.empty()) {
    // Nothing to place: the file's own records are the drawing as it is drawn.
    static_cast<TEntityLists&>(d) = std::move(file.Top);
    expansion.Uses.resize(file.Blocks.size());
  } else {
    TEntityLists drawn;
    if (!ExpandBlocks(file, drawn, expansion))
      d.File.BlockProblem = expansion.Message.empty()
                                ? std::string(ExpansionWords(expansion.Problem))
                                : expansion.Message;
    static_cast<TEntityLists&>(d) = std::move(drawn);
  }
  d.File.RecordsFromBlocks = expansion.FromBlocks;
  // A block that cannot be drawn (a cycle, nesting too deep, a missing definition) leaves the
  // drawing short of what the file holds: said as a failure to read it whole.
  if (!d.File.BlockProblem.empty() && load.ReadToEnd) {
    load.ReadToEnd = false;
    load.Problem = d.File.BlockProblem;
  }
  d.File.LineTypes = std::move(file.LineTypes);
  d.File.Blocks.reserve(file.Blocks.size());
  for (std::size_t k = 0; k < file.Blocks.size(); ++k) {
    TJwwBlockDef& def = file.Blocks[k];
    TDrawingBlock block;
    block.Name = std::move(def.Name);
    if (k < expansion.Uses.size()) {
      block.Direct = expansion.Uses[k].Direct;
      block.Nested = expansion.Uses[k].Nested;
    }
    block.Contents = std::move(def.Contents);
    d.File.Blocks.push_back(std::move(block));
  }
}

}  // namespace

bool IsDrawingFileName(std::string_view path) noexcept {
  if (path.size() < 4) return false;
  const std::string_view ext = path.substr(path.size() - 4);
  const auto lower = [](char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 32) : ch;
  };
  return ext[0] == '.' && lower(ext[1]) == 'j' && lower(ext[2]) == 'w' &&
         (lower(ext[3]) == 'w' || lower(ext[3]) == 's');
}

TDrawingLoad LoadDrawing(const std::string& path) {
  TDrawingLoad load;
  try {
    if (LooksLikeJwwFile(FirstBytes(path, 8))) {
      LoadDrawingFile(path, load);
      return load;
    }
    TJwcLoad read = ReadJwcTempFile(path);
    load.Drawing = std::move(read.Drawing);
    load.Interchange = read.Result;
    const TJwcLoadResult& r = read.Result;
    load.ReadToEnd = r.ReadToEnd;
    load.NothingRead = !r.Exists || r.Problem == TJwcLoadProblem::NotRegularFile ||
                       r.Problem == TJwcLoadProblem::CannotOpen || r.NotText ||
                       (!r.ReadToEnd && r.BytesRead == 0);
    load.Problem = DescribeJwcLoadProblem(r);
  } catch (const std::bad_alloc&) {
    load.ReadToEnd = false;
    load.Problem = "out of memory";
  }
  return load;
}

}  // namespace sxf
