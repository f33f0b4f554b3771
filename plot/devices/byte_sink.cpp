// The memory and file sinks of the file drivers (see byte_sink.h).
#include "devices/byte_sink.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

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

namespace {

// The permissions a file created with fopen would get: 0666 less the process's umask.
mode_t default_file_mode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// The file a name stands for: a symbolic link is followed (also one that points nowhere
// yet), so the file is written where the link points, as opening the name would.
std::string resolve_links(std::string path) {
  for (int depth = 0; depth < 40; ++depth) {
    char link[4096];
    const ssize_t n = ::readlink(path.c_str(), link, sizeof link - 1);
    if (n < 0) break;
    std::string next(link, static_cast<std::size_t>(n));
    const std::size_t slash = path.find_last_of('/');
    if (next.empty() || next[0] == '/' || slash == std::string::npos) {
      path = next;
    } else {
      path = path.substr(0, slash + 1) + next;
    }
  }
  return path;
}

}  // namespace

std::unique_ptr<FileSink> FileSink::create(const char* target) {
  if (target == nullptr || target[0] == '\0') return nullptr;
  // The temporary file lies in the target's folder, so that the final rename stays on one
  // file system and cannot fail half-way.
  std::string path = resolve_links(target);
  const std::size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string temp = folder + "." + file + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return nullptr;
  ::fchmod(fd, default_file_mode());
  std::FILE* f = ::fdopen(fd, "wb");
  if (f == nullptr) {
    ::close(fd);
    ::unlink(temp.c_str());
    return nullptr;
  }
  return std::unique_ptr<FileSink>(new FileSink(f, std::move(temp), std::move(path)));
}

FileSink::FileSink(std::FILE* file, std::string temp, std::string target)
    : file_(file), temp_(std::move(temp)), target_(std::move(target)) {}

FileSink::~FileSink() {
  discard();
}

void FileSink::write(const void* data, std::size_t n) {
  if (file_ == nullptr || failed_ || n == 0) return;
  if (std::fwrite(data, 1, n, file_) != n) failed_ = true;
}

long FileSink::position() const {
  return file_ != nullptr ? std::ftell(file_) : 0;
}

bool FileSink::close() {
  if (file_ == nullptr) return false;
  bool ok = !failed_ && std::fflush(file_) == 0 && !std::ferror(file_);
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  if (ok) ok = std::rename(temp_.c_str(), target_.c_str()) == 0;
  if (!ok) {
    failed_ = true;
    std::remove(temp_.c_str());
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
    std::remove(temp_.c_str());
    temp_.clear();
  }
}

bool write_whole_file(const char* target, std::string_view bytes) {
  std::unique_ptr<FileSink> sink = FileSink::create(target);
  if (!sink) return false;
  sink->put(bytes);
  return sink->close();
}

}  // namespace stylus
