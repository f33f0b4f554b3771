// Turns a byte string into a sequence of calls of the library's public routines with
// valid, boundary and hostile arguments, and runs it from a freshly reset library in a
// scratch folder. Shared by the plain fuzz driver and the libFuzzer entry; the byte format
// is described in tests/fuzz/README.md.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Once per process: a scratch folder as working directory, standard output silenced (the
// library's warnings and protocols would flood it), DISPLAY unset, files limited to 256 MB.
void prepare_process();

// A dashed line hundreds of points wide on a pixel device costs dashes x outlines x pixels:
// a random curve of 250 points with dashes of a point ran 280 s on the raster at width
// 1000 and more than twenty minutes at width 9333 (12 s at width 100). Slow as its outlines
// are many, a visible cost the library accepts; generated inputs keep line widths at most
// this so that a long run measures the rest. The plain driver replays its corpus with
// every width.
inline constexpr long kRandomLineWidthLimit = 100;

// The widest line width the calls pass to linwid and linwid_ and the largest symbol size
// they pass to hsymbl and hsymbl_ (larger ones are passed as this); without a limit every
// value is passed as it is.
void limit_line_width(int points);

// Runs the calls that data encodes; returns how many calls were made. Every run starts from
// the library's program-start state and ends with every session closed and the scratch
// folder emptied.
std::size_t run_calls(const std::uint8_t* data, std::size_t size);

// The number of routines the opcodes choose from, the name of routine k, and the opcode of
// a routine by name (routine_count() when there is none).
std::size_t routine_count();
const char* routine_name(std::size_t k);
std::size_t routine_index(const std::string& name);

// The text selector of the i-th device keyword (i below device_keyword_count()).
std::uint8_t device_keyword_selector(std::size_t i);
std::size_t device_keyword_count();

}  // namespace fuzz
