// Output file names that never overwrite an existing file: "stylus.met" becomes
// "stylus_1.met", "stylu_10.met", ... when the name is taken.
#pragma once

#include <cstddef>

namespace stylus {

// Makes the zero-ended path name (a buffer of size bytes, changed in place) the name of a
// file to write: the name itself when it is free, else the first free version name. The
// program stops when versions 1 to 999 all exist (the message, then exit status 1).
// Returns 0, or 1 (name unchanged) when no version name fits into the buffer.
int gfilnn(char* name, std::size_t size);

}  // namespace stylus
