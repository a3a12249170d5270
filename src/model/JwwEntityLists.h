#pragma once
// What the reader's stages share inside the model folder: how far the text being read has
// come, and how a list makes room for one more record. Not for callers outside src/model.

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <vector>

#include "model/JwwGaibu2.h"

namespace sxf {

// A list gets its room the first time it is full after this much of a text has been read:
// enough lines for its share of the text to be known within a few per cent.
constexpr std::uint64_t kProjectionSample = std::uint64_t{1} << 20;
// The shortest line that makes an entity ("0 0 0 0" and its line end).
constexpr std::uint64_t kShortestEntityLine = 8;

// Asks the system to back a large, still untouched buffer with large pages where it can:
// the records of a big drawing then cost a few hundred page faults instead of a few
// ten thousand. Only a hint; nothing changes where it is not taken.
void AdviseLargePages(void* data, std::size_t bytes) noexcept;

// Makes room for one more record. Regrowing a list a doubling at a time copies it again and
// again and, at the last doubling, holds the old and the new buffer at once; so once enough
// of the text has been read, a full list is given room for its share of the whole text
// (with a margin for chance), and usually never grows again. Room that is reserved but
// never written costs address space only.
template <typename T>
void MakeRoom(std::vector<T>& list, const TReadProgress& r) {
  const std::size_t n = list.size();
  if (n < list.capacity()) return;
  if (r.Consumed < kProjectionSample || r.Consumed >= r.Total) return;  // the usual doubling
  const double count = static_cast<double>(n);
  const double share = count * static_cast<double>(r.Total) / static_cast<double>(r.Consumed);
  const double margin = 1.08 + 3.0 / std::sqrt(count + 1.0);
  const double most =
      count + static_cast<double>((r.Total - r.Consumed) / kShortestEntityLine) + 1.0;
  // At least a quarter more, so that a kind that crowds into the end of the text still
  // grows geometrically.
  const double want = std::max(count * 1.25 + 16.0, std::min(share * margin, most));
  if (!(want < static_cast<double>(list.max_size()))) return;
  try {
    list.reserve(static_cast<std::size_t>(want));
    AdviseLargePages(list.data(), list.capacity() * sizeof(T));
  } catch (const std::bad_alloc&) {
    // Without the room projected, the list still grows as far as memory allows.
  } catch (const std::length_error&) {}
}

// Appends a value-initialised record to list, one of the lists of lists, and its order entry;
// returns the new record.
template <typename T>
T& AppendEntity(TEntityLists& lists, std::vector<T>& list, int kind, const TReadProgress& r) {
  // The record first: when memory runs out, neither the list nor the order list changes.
  MakeRoom(list, r);
  list.emplace_back();
  try {
    MakeRoom(lists.EntOrder, r);
    lists.EntOrder.push_back(TJwwEntRef{kind, static_cast<int>(list.size() - 1)});
  } catch (...) {
    list.pop_back();
    throw;
  }
  return list.back();
}

}  // namespace sxf
