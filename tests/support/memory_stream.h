// An output stream in memory (open_memstream) for byte-exact checks of what a writer
// sends to out_stream, without touching the disk.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

class MemoryStream {
 public:
  MemoryStream() : file_(::open_memstream(&data_, &size_)) {
    if (file_ == nullptr) std::abort();
  }
  ~MemoryStream() {
    std::fclose(file_);
    std::free(data_);
  }
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;

  std::FILE* file() const { return file_; }
  // Everything written so far.
  std::string bytes() {
    std::fflush(file_);
    return std::string(data_, size_);
  }

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::FILE* file_;
};
