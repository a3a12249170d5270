// Field splitting: one line into its fields, eight or sixteen bytes at a time where no byte
// needs a second look.

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "model/JwwGaibu2.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {

// What the splitter does with each byte value. CR and LF are dropped inside a line; where
// the splitter looks for the end of the line itself, they end it.
enum TByteClass : unsigned char { kDrop, kKeep, kLead, kQuote, kEquals, kBlank, kLineEnd };

constexpr std::array<TByteClass, 256> MakeByteClasses(bool lineEnds) {
  std::array<TByteClass, 256> t{};
  for (int b = 0; b < 256; ++b) {
    if (IsLeadByte(static_cast<unsigned char>(b)))
      t[static_cast<std::size_t>(b)] = kLead;
    else if (b >= 0x20 && b <= 0xFD)
      t[static_cast<std::size_t>(b)] = kKeep;
    else
      t[static_cast<std::size_t>(b)] = kDrop;
  }
  t['"'] = kQuote;
  t['='] = kEquals;
  t[' '] = kBlank;
  t['\t'] = kBlank;
  if (lineEnds) t['\r'] = t['\n'] = kLineEnd;
  return t;
}
constexpr std::array<TByteClass, 256> kByteClass = MakeByteClasses(false);
constexpr std::array<TByteClass, 256> kByteClassToLineEnd = MakeByteClasses(true);

constexpr std::uint64_t kEveryByte = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// The high bit of every byte of w that is zero.
constexpr std::uint64_t ZeroBytes(std::uint64_t w) noexcept {
  return ~(((w & ~kHighBits) + ~kHighBits) | w) & kHighBits;
}

// The high bit of every byte of w that may not be a plain kept byte: below '!', from 0x80
// on, a quote or an equals sign. Exact per byte, so the lowest one is the first such byte.
constexpr std::uint64_t MaybeSpecialBytes(std::uint64_t w) noexcept {
  const std::uint64_t belowBang = ~(((w & ~kHighBits) + 0x5F * kEveryByte) | w) & kHighBits;
  return belowBang | (w & kHighBits) | ZeroBytes(w ^ ('"' * kEveryByte)) |
         ZeroBytes(w ^ ('=' * kEveryByte));
}

// The first byte at or after p that may not be a plain kept byte (see MaybeSpecialBytes),
// or limit.
inline const char* NextMaybeSpecial(const char* p, const char* limit) noexcept {
#if defined(__SSE2__)
  // Sixteen bytes at a time: below '!' or from 0x80 on (negative as signed bytes), a quote
  // or an equals sign.
  while (limit - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i special = _mm_or_si128(
        _mm_cmplt_epi8(v, _mm_set1_epi8('!')),
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')), _mm_cmpeq_epi8(v, _mm_set1_epi8('='))));
    const auto mask = static_cast<unsigned>(_mm_movemask_epi8(special));
    if (mask != 0) return p + std::countr_zero(mask);
    p += 16;
  }
#endif
  while (limit - p >= 8) {
    const std::uint64_t special = MaybeSpecialBytes(LoadLittleEndian64(p));
    if (special != 0) return p + std::countr_zero(special) / 8;
    p += 8;
  }
  while (p < limit && kByteClass[static_cast<unsigned char>(*p)] == kKeep) ++p;
  return p;
}

// The first byte at or after p that is not kept as it stands (see kByteClass), or limit.
inline const char* SkipKeptBytes(const char* p, const char* limit) noexcept {
  for (;;) {
    p = NextMaybeSpecial(p, limit);
    if (p == limit || kByteClass[static_cast<unsigned char>(*p)] != kKeep) return p;
    ++p;  // a kept byte from 0x80 on (half-width kana)
  }
}

}  // namespace

// The bytes of a field are contiguous in the line unless a dropped byte sits between two of
// them: then copy is set and the split is left unfinished. Dropped bytes before a field's
// first byte or after its last one need no copy.
template <bool kStopAtLineEnd>
const char* TJwwFields::SplitInPlace(const char* p, const char* limit, bool& copy) noexcept {
  const auto& cls = kStopAtLineEnd ? kByteClassToLineEnd : kByteClass;
  std::size_t k = 0;
  const char* first = nullptr;  // the current field's first byte; null while it is empty
  const char* last = nullptr;   // one past its last byte
  // Takes [at, to) into the current field; false when a dropped byte lies before it.
  const auto take = [&](const char* at, const char* to) {
    if (first == nullptr)
      first = at;
    else if (last != at)
      return false;
    last = to;
    return true;
  };
  const auto finish = [&]() {
    begin_[k] = first;
    end_[k] = first != nullptr ? last : first;
    count_ = static_cast<int>(k + 1);
  };
  // A lead byte with a byte after it in the line is a character; alone at the end it is
  // dropped, and the line ends there.
  const auto loneLead = [&](const char* at) {
    return at + 1 == limit ||
           (kStopAtLineEnd && cls[static_cast<unsigned char>(at[1])] == kLineEnd);
  };
  copy = false;
  const char* q = p;
  // Splitting on.
  while (q < limit) {
    const TByteClass c = cls[static_cast<unsigned char>(*q)];
    if (c == kKeep) {
      const char* run = SkipKeptBytes(q + 1, limit);
      if (!take(q, run)) return copy = true, q;
      q = run;
      continue;
    }
    if (c == kBlank) {
      ++q;
      if (first == nullptr) continue;
      if (k + 1 == static_cast<std::size_t>(kMaxJwwFields)) {
        // Only the first 400 fields are held: the rest of the line is dropped.
        finish();
        if constexpr (kStopAtLineEnd) {
          while (q < limit && cls[static_cast<unsigned char>(*q)] != kLineEnd) ++q;
        }
        return kStopAtLineEnd ? q : limit;
      }
      finish();
      ++k;
      first = last = nullptr;
      continue;
    }
    if (c == kLead) {
      if (loneLead(q)) {
        finish();
        return q + 1;
      }
      if (!take(q, q + 2)) return copy = true, q;
      q += 2;
      continue;
    }
    if (c == kLineEnd) {
      finish();
      return q;
    }
    if (c == kDrop) {
      ++q;
      continue;
    }
    if (c == kEquals && !take(q, q + 1)) return copy = true, q;
    ++q;  // an equals sign kept, or a quote dropped: splitting ends
    break;
  }
  // Splitting off: the rest of the line is the current field; blanks, quotes and equals
  // signs are kept, tabs and other control bytes still dropped.
  while (q < limit) {
    const auto b = static_cast<unsigned char>(*q);
    const TByteClass c = cls[b];
    if (c == kLineEnd) break;
    if (c == kLead) {
      if (loneLead(q)) {
        finish();
        return q + 1;
      }
      if (!take(q, q + 2)) return copy = true, q;
      q += 2;
      continue;
    }
    if (c == kDrop || b == '\t') {
      ++q;
      continue;
    }
    if (!take(q, q + 1)) return copy = true, q;
    ++q;
  }
  finish();
  return q;
}

void TJwwFields::Split(std::string_view line) {
  const char* const end = line.data() + line.size();
  bool copy = false;
  SplitInPlace<false>(line.data(), end, copy);
  if (copy) SplitCopying(line);
}

const char* TJwwFields::SplitToLineEnd(const char* p, const char* limit) {
  bool copy = false;
  const char* lineEnd = SplitInPlace<true>(p, limit, copy);
  if (!copy) return lineEnd;
  while (lineEnd < limit && *lineEnd != '\r' && *lineEnd != '\n') ++lineEnd;
  SplitCopying(std::string_view(p, static_cast<std::size_t>(lineEnd - p)));
  return lineEnd;
}

void TJwwFields::SplitCopying(std::string_view line) {
  if (buffer_.size() < line.size()) buffer_.resize(line.size());
  char* out = buffer_.data();
  const char* in = line.data();
  const std::size_t n = line.size();
  std::size_t w = 0;
  std::size_t k = 0;
  std::size_t i = 0;
  std::size_t start = 0;  // where the current field began in the buffer
  const auto endField = [&]() {
    begin_[k] = out + start;
    end_[k] = out + w;
  };
  // Splitting on: blanks and tabs separate fields, a quote or an equals sign ends splitting.
  while (i < n) {
    // Runs of ordinary bytes are the common case: copy them without the dispatch.
    while (kByteClass[static_cast<unsigned char>(in[i])] == kKeep) {
      out[w++] = in[i++];
      if (i == n) break;
    }
    if (i == n) break;
    const auto b = static_cast<unsigned char>(in[i]);
    switch (kByteClass[b]) {
      case kKeep:
      case kLineEnd: continue;
      case kBlank:
        ++i;
        if (w > start) {
          // Only the first 400 fields are held: the rest of a longer line is dropped.
          if (k + 1 == static_cast<std::size_t>(kMaxJwwFields)) {
            i = n;
            break;
          }
          endField();
          ++k;
          start = w;
        }
        continue;
      case kLead:
        if (i + 1 == n) {  // a lone lead byte at the end is dropped
          i = n;
          break;
        }
        out[w++] = static_cast<char>(b);
        out[w++] = in[i + 1];
        i += 2;
        continue;
      case kDrop: ++i; continue;
      case kEquals: out[w++] = '='; [[fallthrough]];
      case kQuote: ++i; break;
    }
    break;
  }
  // Splitting off: the rest of the line belongs to the current field; blanks, quotes and
  // equals signs are kept, tabs and other control bytes still dropped.
  while (i < n) {
    const auto b = static_cast<unsigned char>(in[i]);
    const TByteClass c = kByteClass[b];
    if (c == kLead) {
      if (i + 1 == n) break;
      out[w++] = static_cast<char>(b);
      out[w++] = in[i + 1];
      i += 2;
      continue;
    }
    if (c != kDrop && b != '\t') out[w++] = static_cast<char>(b);
    ++i;
  }
  endField();
  count_ = static_cast<int>(k + 1);
}

}  // namespace sxf
