// Files that qh2 writes are written whole or not at all, and never over anything: the text
// goes to a temporary file beside the target, which then takes the target's name only if that
// name is still free.
#pragma once

#include <string>

// Whether something (a file, a folder, a link, even a dangling one) has this name.
bool name_taken(const std::string& path);

// Writes text as the new file `path`. Returns an empty string, or what went wrong (the file
// exists, the folder cannot be written, the disk is full ...); then nothing is left behind.
std::string write_new_file(const std::string& path, const std::string& text);
