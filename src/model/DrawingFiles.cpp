#include "model/DrawingFiles.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <memory>
#include <new>
#include <utility>

#include "model/BlockExpansion.h"
#include "model/JwwDrawingFile.h"
#include "model/ShiftJisFromUtf16.h"

namespace sxf {

namespace {

struct TFileCloser {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

// UTF-16 code units of a UTF-8 text; a character beyond the Basic Multilingual Plane becomes a
// surrogate pair.
std::u16string Utf16OfUtf8(std::string_view utf8) {
  std::u16string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    int more = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    unsigned cp = more > 0 ? b & (0x3Fu >> more) : b;
    ++i;
    for (; more > 0 && i < utf8.size(); --more, ++i)
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3Fu);
    if (cp >= 0x10000 && cp <= 0x10FFFF) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp & 0xFFFF);
    }
  }
  return out;
}

// The first bytes of a regular file, or nothing when it is none or cannot be opened (a FIFO is
// never opened: that would wait for a writer).
std::string FirstBytes(const std::string& path, std::size_t count) {
  std::error_code error;
  const std::u8string name(path.begin(), path.end());
  if (!std::filesystem::is_regular_file(std::filesystem::path(name), error)) return {};
#if defined(_WIN32)
  const std::u16string wide = Utf16OfUtf8(path);
  std::unique_ptr<std::FILE, TFileCloser> f(
      _wfopen(reinterpret_cast<const wchar_t*>(wide.c_str()), L"rb"));
#else
  std::unique_ptr<std::FILE, TFileCloser> f(std::fopen(path.c_str(), "rb"));
#endif
  if (!f) return {};
  std::string bytes(count, '\0');
  bytes.resize(std::fread(bytes.data(), 1, count, f.get()));
  return bytes;
}

// A path (UTF-8) as the interchange text names the drawing: Shift-JIS.
std::string ShiftJisPath(std::string_view utf8) {
  const std::u16string units = Utf16OfUtf8(utf8);
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
  d.LayerGroupScale = file.LayerGroupScale;
  d.TextKinds = file.TextKinds;
  for (std::size_t g = 0; g < 16; ++g) {
    d.GroupState[g] = file.GroupState[g];
    d.GroupName[g] = file.GroupName[g];
  }
  for (std::size_t l = 0; l < 256; ++l) {
    d.LayerState[l] = file.LayerState[l];
    d.LayerName[l] = file.LayerName[l];
  }
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
