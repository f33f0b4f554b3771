// The memory and file sinks of the file drivers (see byte_sink.h).
#include "devices/byte_sink.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "devices/file_names.h"

namespace stylus {

void ByteSink::format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  vformat(fmt, args);
  va_end(args);
}

void ByteSink::vformat(const char* fmt, va_list args) {
  char buf[1024];
  const int n = std::vsnprintf(buf, sizeof buf, fmt, args);
  if (n > 0) write(buf, static_cast<std::size_t>(n) < sizeof buf ? n : sizeof buf - 1);
}

void MemorySink::write(const void* data, std::size_t n) {
  bytes_.append(static_cast<const char*>(data), n);
}

void MemorySink::patch(long offset, const void* data, std::size_t n) {
  if (offset < 0 || static_cast<std::size_t>(offset) + n > bytes_.size()) return;
  bytes_.replace(static_cast<std::size_t>(offset), n, static_cast<const char*>(data), n);
}

namespace {

// Six letters or digits for a temporary name; from the kernel's random source, or, should it
// fail, from the process, the clock and a counter (a taken name is only tried again).
std::string random_suffix() {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char bytes[6];
  if (::getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
    static unsigned counter = 0;
    unsigned long v = static_cast<unsigned long>(::getpid()) * 2654435761u ^
                      static_cast<unsigned long>(std::time(nullptr)) ^ (++counter * 40503u);
    for (unsigned char& b : bytes) b = static_cast<unsigned char>(v >>= 5);
  }
  std::string s;
  for (unsigned char b : bytes) s += kLetters[b % (sizeof kLetters - 1)];
  return s;
}

// The longest file part a temporary name keeps of its target's, so that it stays within
// the 255 bytes a file name may have.
constexpr std::size_t kTempFilePart = 200;

}  // namespace

std::unique_ptr<FileSink> FileSink::create(const char* target, const char* base,
                                           std::size_t name_size) {
  if (target == nullptr || target[0] == '\0') return nullptr;
  // The temporary file lies in the target's folder, so that the final rename stays on one
  // file system and cannot fail half-way. It is made new under a name of its own: a link or
  // anything else planted at a name is never opened.
  const std::string path = target;
  const std::size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string temp = folder + "." + file.substr(0, kTempFilePart) + "." + random_suffix();
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return nullptr;
    }
    std::FILE* f = ::fdopen(fd, "wb");
    if (f == nullptr) {
      ::close(fd);
      ::unlink(temp.c_str());
      return nullptr;
    }
    return std::unique_ptr<FileSink>(
        new FileSink(f, std::move(temp), path, base != nullptr ? base : path, name_size));
  }
  return nullptr;
}

FileSink::FileSink(std::FILE* file, std::string temp, std::string target, std::string base,
                   std::size_t name_size)
    : file_(file),
      temp_(std::move(temp)),
      target_(std::move(target)),
      base_(std::move(base)),
      name_size_(name_size) {}

FileSink::~FileSink() {
  discard();
}

void FileSink::write(const void* data, std::size_t n) {
  if (file_ == nullptr || failed_ || n == 0) return;
  if (std::fwrite(data, 1, n, file_) != n) failed_ = true;
}

void FileSink::patch(long offset, const void* data, std::size_t n) {
  if (file_ == nullptr || failed_ || n == 0) return;
  if (std::fflush(file_) != 0 ||
      ::pwrite(::fileno(file_), data, n, offset) != static_cast<ssize_t>(n)) {
    failed_ = true;
  }
}

long FileSink::position() const {
  return file_ != nullptr ? std::ftell(file_) : 0;
}

bool FileSink::place() {
  std::vector<char> version(std::max(name_size_, base_.size() + 1), '\0');
  // Every try that finds the name taken moves on to a later version; the versions end at
  // 999, so this ends too.
  for (int attempt = 0; attempt < 1000; ++attempt) {
    if (::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) == 0) {
      return true;
    }
    int err = errno;
    if (err == EINVAL || err == ENOSYS || err == EOPNOTSUPP) {
      // A file system that cannot rename without replacing: a second link to the file, which
      // cannot replace anything either, then the temporary name goes.
      if (::link(temp_.c_str(), target_.c_str()) == 0) {
        ::unlink(temp_.c_str());
        return true;
      }
      err = errno;
    }
    if (err != EEXIST) return false;
    // Taken since the name was chosen (another program, another session): the next version.
    std::memcpy(version.data(), base_.c_str(), base_.size() + 1);
    if (gfilnn(version.data(), version.size()) != 0) return false;
    target_ = version.data();
  }
  return false;
}

bool FileSink::close() {
  if (file_ == nullptr) return false;
  bool ok = !failed_ && std::fflush(file_) == 0 && !std::ferror(file_);
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  if (ok) ok = place();
  if (!ok) {
    failed_ = true;
    ::unlink(temp_.c_str());
  }
  temp_.clear();
  return ok;
}

void FileSink::discard() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    temp_.clear();
  }
}

bool write_whole_file(const char* target, std::string_view bytes, const char* base,
                      std::string* placed) {
  std::unique_ptr<FileSink> sink = FileSink::create(target, base);
  if (!sink) return false;
  sink->put(bytes);
  if (!sink->close()) return false;
  if (placed != nullptr) *placed = sink->name();
  return true;
}

}  // namespace stylus
