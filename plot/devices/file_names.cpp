// Version names for output files (see file_names.h). Directories are separated by "/" or
// "\"; only the file part of a name is ever cut, so a version never lands in another folder.
#include "devices/file_names.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "records/strings.h"

namespace stylus {

bool name_taken(const char* name) {
  // Whatever the name stands for is asked about, not what it leads to: a link (also one to
  // nothing), a pipe, a file nobody may read all take the name. Opening it to see would
  // follow the link, wait on the pipe or fail on the file.
  struct stat st;
  return ::lstat(name, &st) == 0;
}

int gfilnn(char* name, std::size_t size) {
  if (!name_taken(name)) return 0;

  const std::string full(name);
  std::size_t file_start = full.find_last_of("/\\");
  file_start = file_start == std::string::npos ? 0 : file_start + 1;
  std::size_t ext_start = full.rfind('.');
  if (ext_start == std::string::npos || ext_start < file_start) {
    ext_start = static_cast<std::size_t>(trmlen(name));
    if (ext_start < file_start) ext_start = file_start;
  }
  const std::string dir = full.substr(0, file_start);
  const std::string stem = full.substr(file_start, ext_start - file_start);
  const std::string ext = full.substr(ext_start);

  for (int n = 1; n <= 999; ++n) {
    // The stem is cut so that stem, "_" and n keep to eight characters for the usual
    // six-letter stems; from version 60 on no stem character is left, and the cut never
    // goes below zero (so for versions of 70 and above the name is "_<n>" plus extension).
    int keep = 6 - n / 10;
    if (keep < 0) keep = 0;
    std::size_t cut =
        stem.size() < static_cast<std::size_t>(keep) ? stem.size() : static_cast<std::size_t>(keep);
    std::string candidate = dir + stem.substr(0, cut) + "_" + std::to_string(n) + ext;
    if (name_taken(candidate.c_str())) continue;
    if (candidate.size() + 1 > size) return 1;
    std::memcpy(name, candidate.c_str(), candidate.size() + 1);
    return 0;
  }
  std::printf("More than 999 file versions!\n");
  return 2;
}

}  // namespace stylus
