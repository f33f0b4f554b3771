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
