#pragma once
// The wide vector registers of x86 processors. Code built for the baseline instruction set
// (SSE2) runs at full speed only while the processor knows that the upper halves of those
// registers hold nothing. A library that used them and did not say so (the toolkit's start-up
// does, on some systems) leaves every later SSE instruction waiting on them: the drawing
// then takes half as long again. Saying so costs one instruction.

namespace sxf {

// Marks the upper halves of the vector registers unused (vzeroupper) where the processor
// has them; nothing elsewhere. Call it before long work: a read, a redraw.
void ClearUpperVectorState() noexcept;

}  // namespace sxf
