#pragma once
// The archive the drawing file is written as: little-endian numbers, length-prefixed strings
// (bytes, or UTF-16 after a marker), lists with a count, and objects tagged with their class.
// Not for callers outside src/model.
//
// Every read checks the bytes left. The first failure is kept (problem, message, offset) and
// every later read returns 0 or an empty string without moving, so a caller checks Failed()
// once per record instead of after each value.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/JwwDrawingFile.h"

namespace sxf {

// The classes a drawing file holds; the archive tags objects with them.
enum class TJwwClass : std::uint8_t {
  None,
  Line,       // CDataSen
  Arc,        // CDataEnko: circles, arcs, ellipses
  Point,      // CDataTen
  Text,       // CDataMoji
  Dimension,  // CDataSunpou
  Solid,      // CDataSolid
  BlockRef,   // CDataBlock
  BlockDef,   // CDataList
};

class TJwwArchive {
 public:
  explicit TJwwArchive(std::string_view bytes) noexcept
      : begin_(reinterpret_cast<const unsigned char*>(bytes.data())),
        p_(begin_),
        end_(begin_ + bytes.size()) {}

  bool Failed() const noexcept { return problem_ != TJwwFileProblem::None; }
  TJwwFileProblem Problem() const noexcept { return problem_; }
  const std::string& Message() const noexcept { return message_; }
  std::size_t Offset() const noexcept { return static_cast<std::size_t>(p_ - begin_); }
  std::size_t Left() const noexcept { return static_cast<std::size_t>(end_ - p_); }
  // Where the failure happened, or the current offset.
  std::size_t FailureOffset() const noexcept { return Failed() ? failedAt_ : Offset(); }

  // What the reader is at, put in front of a failure's message: a section ("the header",
  // "block definition 2 of 5"), and within it the entity (1-based; 0 for none). The entity's
  // numbers are kept as numbers, so that reading costs no text per entity.
  void SetContext(std::string context) {
    context_ = std::move(context);
    entity_ = 0;
  }
  void SetEntity(std::uint32_t entity, std::uint32_t count) noexcept {
    entity_ = entity;
    entityCount_ = count;
  }

  void Fail(TJwwFileProblem problem, std::string_view what);

  bool Skip(std::size_t n) noexcept;
  std::uint8_t U8() noexcept;
  std::uint16_t U16() noexcept;
  std::uint32_t U32() noexcept;
  double F64() noexcept;
  // A non-negative count or number stored as a DWORD; larger than limit fails as BadValue.
  int Int(std::uint32_t limit, const char* what);

  // A string: Shift-JIS bytes as stored, or UTF-16 converted to Shift-JIS.
  std::string String();
  // Skips a string's bytes.
  void SkipString();

  // A list's count; fails when the bytes left could not hold that many items of at least
  // minItemBytes each.
  std::uint32_t Count(std::size_t minItemBytes);

  // The class of the next object. A class seen before is named by its index in the one
  // numbering the whole archive shares with the objects; an object seen before, or a class
  // other than the allowed ones, fails. allowBlockDef: CDataList is expected, else an entity.
  TJwwClass ObjectClass(bool allowBlockDef);

 private:
  bool Need(std::size_t n) noexcept;
  std::uint32_t StringLength(bool& utf16);

  const unsigned char* begin_;
  const unsigned char* p_;
  const unsigned char* end_;
  TJwwFileProblem problem_ = TJwwFileProblem::None;
  std::string message_;
  std::string context_;
  std::uint32_t entity_ = 0, entityCount_ = 0;
  std::size_t failedAt_ = 0;
  // Index k of the archive's one numbering (classes and objects alike; 0 stands for none):
  // the class named there, or None for an object.
  std::vector<TJwwClass> loaded_{TJwwClass::None};
};

}  // namespace sxf
