// Decoding the archive's values, strings, counts and object tags, every one bounded by the
// bytes left.

#include "model/JwwArchive.h"

#include <cstdio>
#include <cstring>

#include "model/ShiftJisFromUtf16.h"

namespace sxf {

namespace {

// Tags of the object archive: a new class follows; an index with this bit names a class
// seen before; a 32-bit tag follows.
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint32_t kBigClassTag = 0x80000000u;

struct TClassName {
  std::string_view Name;
  TJwwClass Class;
};
constexpr TClassName kClassNames[] = {
    {"CDataSen", TJwwClass::Line},         {"CDataEnko", TJwwClass::Arc},
    {"CDataTen", TJwwClass::Point},        {"CDataMoji", TJwwClass::Text},
    {"CDataSunpou", TJwwClass::Dimension}, {"CDataSolid", TJwwClass::Solid},
    {"CDataBlock", TJwwClass::BlockRef},   {"CDataList", TJwwClass::BlockDef},
};

std::string Hex(std::size_t offset) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%zx", offset);
  return text;
}

}  // namespace

void TJwwArchive::Fail(TJwwFileProblem problem, std::string_view what) {
  if (Failed()) return;
  problem_ = problem;
  failedAt_ = Offset();
  message_.clear();
  if (entity_ != 0) {
    message_ = "entity " + std::to_string(entity_) + " of " + std::to_string(entityCount_);
    if (!context_.empty()) message_ += " of ";
  }
  message_ += context_;
  if (!message_.empty()) message_ += ' ';
  message_ += "at byte " + Hex(failedAt_) + ": ";
  message_ += what;
}

bool TJwwArchive::Need(std::size_t n) noexcept {
  if (Failed()) return false;
  if (Left() >= n) return true;
  try {
    Fail(TJwwFileProblem::Truncated, "the file ends inside a value");
  } catch (...) {
    problem_ = TJwwFileProblem::Truncated;  // the message could not be made
    failedAt_ = Offset();
  }
  return false;
}

bool TJwwArchive::Skip(std::size_t n) noexcept {
  if (!Need(n)) return false;
  p_ += n;
  return true;
}

std::uint8_t TJwwArchive::U8() noexcept { return Need(1) ? *p_++ : 0; }

std::uint16_t TJwwArchive::U16() noexcept {
  if (!Need(2)) return 0;
  const auto v = static_cast<std::uint16_t>(p_[0] | p_[1] << 8);
  p_ += 2;
  return v;
}

std::uint32_t TJwwArchive::U32() noexcept {
  if (!Need(4)) return 0;
  const std::uint32_t v = std::uint32_t{p_[0]} | std::uint32_t{p_[1]} << 8 |
                          std::uint32_t{p_[2]} << 16 | std::uint32_t{p_[3]} << 24;
  p_ += 4;
  return v;
}

double TJwwArchive::F64() noexcept {
  if (!Need(8)) return 0.0;
  double v = 0.0;
  std::memcpy(&v, p_, 8);  // the file's doubles are IEEE little-endian, as this machine's
  p_ += 8;
  return v;
}

int TJwwArchive::Int(std::uint32_t limit, const char* what) {
  const std::uint32_t v = U32();
  if (v > limit) {
    Fail(TJwwFileProblem::BadValue,
         std::string(what) + " " + std::to_string(v) + " beyond " + std::to_string(limit));
    return 0;
  }
  return static_cast<int>(v);
}

// A byte below 0xFF is the length; else a WORD follows, which may be the UTF-16 marker
// 0xFFFE (the length follows once more), a length below 0xFFFF, or 0xFFFF with a DWORD
// length after it.
std::uint32_t TJwwArchive::StringLength(bool& utf16) {
  utf16 = false;
  for (int round = 0; round < 2; ++round) {
    const std::uint8_t b = U8();
    if (b < 0xFF) return b;
    const std::uint16_t w = U16();
    if (w == 0xFFFE) {
      if (utf16) break;  // a second marker: no string has one
      utf16 = true;
      continue;
    }
    if (w < 0xFFFF) return w;
    const std::uint32_t d = U32();
    if (d < 0xFFFFFFFFu) return d;
    break;
  }
  Fail(TJwwFileProblem::BadValue, "a string's length has no form the archive writes");
  return 0;
}

std::string TJwwArchive::String() {
  bool utf16 = false;
  const std::uint32_t length = StringLength(utf16);
  std::string out;
  if (Failed()) return out;
  const std::uint64_t bytes = utf16 ? std::uint64_t{length} * 2 : length;
  if (bytes > Left()) {
    Fail(TJwwFileProblem::Truncated,
         "a string of " + std::to_string(bytes) + " bytes but " + std::to_string(Left()) + " left");
    return out;
  }
  if (utf16) {
    out.reserve(length * std::size_t{2});
    AppendShiftJisFromUtf16Le(p_, length, out);
  } else {
    out.assign(reinterpret_cast<const char*>(p_), length);
  }
  p_ += bytes;
  return out;
}

void TJwwArchive::SkipString() {
  bool utf16 = false;
  const std::uint32_t length = StringLength(utf16);
  if (!Failed()) Skip(utf16 ? std::size_t{length} * 2 : length);
}

std::uint32_t TJwwArchive::Count(std::size_t minItemBytes) {
  std::uint32_t n = U16();
  if (n == 0xFFFF) n = U32();
  if (Failed()) return 0;
  if (n == 0xFFFFFFFFu || (minItemBytes > 0 && n > Left() / minItemBytes)) {
    Fail(TJwwFileProblem::BadValue, "a list of " + std::to_string(n) + " items, more than the " +
                                        std::to_string(Left()) + " bytes left can hold");
    return 0;
  }
  return n;
}

TJwwClass TJwwArchive::ObjectClass(bool allowBlockDef) {
  const std::uint16_t w = U16();
  if (Failed()) return TJwwClass::None;
  TJwwClass cls = TJwwClass::None;
  if (w == kNewClassTag) {
    U16();  // the class's schema number: the file's version, nothing this reader needs
    const std::uint16_t length = U16();
    if (Failed()) return TJwwClass::None;
    if (length > 64 || length > Left()) {
      Fail(TJwwFileProblem::BadClass, "a class name of " + std::to_string(length) + " bytes");
      return TJwwClass::None;
    }
    const std::string_view name(reinterpret_cast<const char*>(p_), length);
    p_ += length;
    for (const TClassName& known : kClassNames)
      if (known.Name == name) cls = known.Class;
    if (cls == TJwwClass::None) {
      std::string shown;
      for (char c : name) shown += (c >= 0x20 && c < 0x7F) ? c : '?';
      Fail(TJwwFileProblem::BadClass, "unknown class \"" + shown + "\"");
      return TJwwClass::None;
    }
    loaded_.push_back(cls);
  } else {
    std::uint32_t tag = w;
    if (w == kBigObjectTag) {
      tag = U32();
      if (Failed()) return TJwwClass::None;
    } else if ((w & kClassTag) != 0) {
      tag = kBigClassTag | (w & ~kClassTag);
    }
    const std::uint32_t index = tag & ~kBigClassTag;
    if ((tag & kBigClassTag) == 0) {
      Fail(TJwwFileProblem::BadReference,
           index == 0 ? std::string("an empty object where an entity belongs")
                      : "object index " + std::to_string(index) +
                            ": an object stored a second time by reference");
      return TJwwClass::None;
    }
    if (index >= loaded_.size() || loaded_[index] == TJwwClass::None) {
      Fail(TJwwFileProblem::BadClass,
           "class index " + std::to_string(index) +
               (index >= loaded_.size()
                    ? " out of range (" + std::to_string(loaded_.size()) + " numbered so far)"
                    : " names an object, not a class"));
      return TJwwClass::None;
    }
    cls = loaded_[index];
  }
  if ((cls == TJwwClass::BlockDef) != allowBlockDef) {
    Fail(TJwwFileProblem::BadClass, allowBlockDef ? "an entity among the block definitions"
                                                  : "a block definition among entities");
    return TJwwClass::None;
  }
  loaded_.push_back(TJwwClass::None);  // the object itself takes the next number
  return cls;
}

}  // namespace sxf
