// Where the file drivers put their bytes: a small output interface with a memory
// implementation (tests, formats assembled whole) and a file implementation that writes
// beside the target under a temporary name and puts the file in place only when it is
// complete, so a failed write never leaves a half-written file behind, and never in place
// of anything that exists (a file, a link, a pipe) by then.
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
  // Overwrites n bytes at offset, inside what was written (a header whose numbers are known
  // only at the end). A write failure like any other.
  virtual void patch(long offset, const void* data, std::size_t n) = 0;
  // The name of the file: its target, and after a successful close() the name it was put
  // in place under. Empty for memory.
  virtual std::string name() const { return {}; }

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
  void patch(long offset, const void* data, std::size_t n) override;

  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// Writes a file under a temporary name in the folder of the target, created new (never
// through a link or over anything) with the permissions 0666 less the umask. close() gives
// it the target's name only when nothing has that name by then; when something has, the
// next free version of the base name (file_names.h), up to name_size - 1 characters. A
// sink destroyed without a successful close() removes what it wrote.
class FileSink final : public ByteSink {
 public:
  // Null when the temporary file cannot be created in the target's folder. base: the name
  // the caller asked for, of which target is a version (null: target itself).
  static std::unique_ptr<FileSink> create(const char* target, const char* base = nullptr,
                                          std::size_t name_size = 4096);
  ~FileSink() override;

  void write(const void* data, std::size_t n) override;
  long position() const override;
  bool failed() const override { return failed_; }
  bool close() override;
  void patch(long offset, const void* data, std::size_t n) override;
  std::string name() const override { return target_; }

  // The open file, for writers that print with stdio (the session's error file). What they
  // write counts like write().
  std::FILE* stream() const { return file_; }

 private:
  FileSink(std::FILE* file, std::string temp, std::string target, std::string base,
           std::size_t name_size);
  // Gives the temporary file the target's name, or a free version of the base name.
  bool place();
  void discard();

  std::FILE* file_;
  std::string temp_;
  std::string target_;
  std::string base_;
  std::size_t name_size_;
  bool failed_ = false;
};

// Writes bytes as the whole content of a new file target (through a FileSink; base as
// there). False when the file cannot be created or written completely; nothing is left
// behind then. The name the file was given goes to *placed when asked for.
bool write_whole_file(const char* target, std::string_view bytes, const char* base = nullptr,
                      std::string* placed = nullptr);

}  // namespace stylus
