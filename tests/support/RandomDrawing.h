#pragma once
// Random drawings for the tests, in one place: put straight into the model, for tests that
// compare two ways of drawing the same thing (the index against every record, bands against
// one canvas), in three profiles with a third of the figures in the user line types, so that
// many carry marks; or as the text of an interchange file, for the reader.

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/JwwGaibu2.h"

namespace sxf::test {

enum class TRandomProfile {
  // A 20 000 x 20 000 sheet at group scales 100 and 50, mostly figures of a pixel or less at
  // fit-all; lines, circles, arcs, texts of every sort the text pass meets (plain, turned,
  // vertical, mirrored, with escapes, host codes and spacing marks, too small or too large to
  // be characters) and dimensions whose value text lies away from their line.
  Light,
  // The same kinds crowded on a 1000 x 600 sheet at group scale 1.
  Dense,
  // Every drawn kind, small and large (points with codes, solids, solid arcs, dimensions
  // without text), some coordinates not finite, group scales 2 and 0.5: the odd values.
  OddValues,
};

// A drawing of `records` random records (a few more: some cases add a pair); the same seed
// gives the same drawing.
TDrawing MakeRandomDrawing(TRandomProfile profile, unsigned seed, int records);

// A drawing of every kind of line the reader knows, in random order, with the numbers, texts
// and stray bytes files hold: exponents of three digits, long fractions, invalid numbers,
// tabs, doubled blanks, quotes and equals signs inside fields, control bytes, two-byte
// characters (some cut at the line end), and CR LF, LF, lone CR and CR CR LF line ends.
std::string RandomDrawingText(std::uint32_t seed, std::size_t bytes);

}  // namespace sxf::test
