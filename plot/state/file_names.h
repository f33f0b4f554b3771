// Output file names that never overwrite an existing file by default: "stylus.met" becomes
// "stylus_1.met", "stylu_10.met", ... when the name is taken.
#pragma once

#include <cstddef>

namespace stylus {

// Makes the zero-ended path name (a buffer of size bytes, changed in place) the name of a
// file to write, following file_mode: 0 the first free version name, 1 the name itself after
// deleting the existing file, 2 stop the program when the file exists. The program also stops
// when versions 1 to 999 all exist; both stops print their message and exit with status 1.
// Returns 0, or 1 (name unchanged) when no version name fits into the buffer.
int gfilnn(char* name, std::size_t size);

}  // namespace stylus
