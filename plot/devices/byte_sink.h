// Where the file drivers put their bytes: a small output interface with a memory
// implementation (tests, formats assembled whole) and a file implementation that writes
// beside the target under a temporary name and puts the file in place only when it is
// complete, so a failed write never leaves a half-written file behind.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace stylus {

class ByteSink {
 public:
  virtual ~ByteSink() = default;

  // Appends n bytes. After a failure further writes are dropped.
  virtual void write(const void* data, std::size_t n) = 0;
  // Bytes written so far.
  virtual long position() const = 0;
  // A write has failed.
  virtual bool failed() const = 0;
  // Ends the output. A file is put in place under its name; false (and no file left) when
  // any write failed or the file cannot be completed. A sink takes no writes after close.
  virtual bool close() = 0;

  void put(std::string_view text) { write(text.data(), text.size()); }
  void put(char c) { write(&c, 1); }
  // printf-style text (at most 1023 bytes per call).
  void format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  void vformat(const char* fmt, va_list args);
};

// Keeps the bytes in memory.
class MemorySink final : public ByteSink {
 public:
  void write(const void* data, std::size_t n) override;
  long position() const override { return static_cast<long>(bytes_.size()); }
  bool failed() const override { return false; }
  bool close() override { return true; }

  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// Writes a file under a temporary name in the folder of the target; close() renames it to
// the target, a sink destroyed without a successful close() removes what it wrote.
class FileSink final : public ByteSink {
 public:
  // Null when the temporary file cannot be created in the target's folder.
  static std::unique_ptr<FileSink> create(const char* target);
  ~FileSink() override;

  void write(const void* data, std::size_t n) override;
  long position() const override;
  bool failed() const override { return failed_; }
  bool close() override;

  // The open file, for writers that print with stdio (the session's error file). What they
  // write counts like write().
  std::FILE* stream() const { return file_; }

 private:
  FileSink(std::FILE* file, std::string temp, std::string target);
  void discard();

  std::FILE* file_;
  std::string temp_;
  std::string target_;
  bool failed_ = false;
};

// Writes bytes as the whole content of the file target (through a FileSink). False when
// the file cannot be created or written completely; nothing is left behind then.
bool write_whole_file(const char* target, std::string_view bytes);

}  // namespace stylus
