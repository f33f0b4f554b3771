// Output file names that never overwrite an existing file: "stylus.met" becomes
// "stylus_1.met", "stylu_10.met", ... when the name is taken.
#pragma once

#include <cstddef>

namespace stylus {

// Whether something has the name: a file of any kind, readable or not, or a link (also
// one that leads nowhere).
bool name_taken(const char* name);

// Makes the zero-ended path name (a buffer of size bytes, changed in place) the name of a
// file to write: the name itself when it is free, else the first free version name.
// Returns 0; 1 (name unchanged) when no version name fits into the buffer; 2 (name
// unchanged) after the message "More than 999 file versions!" when versions 1 to 999 are
// all taken.
int gfilnn(char* name, std::size_t size);

}  // namespace stylus
