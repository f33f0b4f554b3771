// The temporary file is made with O_EXCL and O_NOFOLLOW in the target's folder, so a link
// planted under its name is never followed; renameat2 with RENAME_NOREPLACE (or, where the
// file system lacks it, link and unlink) gives it the target's name only if that is free.
#include "sim/program/new_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

bool name_taken(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

namespace {

std::string failure(const std::string& what, int error) {
  return what + ": " + std::strerror(error);
}

// Gives `from` the name `to` in the folder dir, unless `to` exists.
int place(int dir, const char* from, const char* to) {
  if (renameat2(dir, from, dir, to, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  if (linkat(dir, from, dir, to, 0) != 0) return errno;
  unlinkat(dir, from, 0);
  return 0;
}

}  // namespace

std::string write_new_file(const std::string& path, const std::string& text) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  if (base.empty() || base == "." || base == "..") return path + ": not a file name";
  if (name_taken(path)) return path + " exists (qh2 never writes over a file)";
  const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return failure(folder, errno);

  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temp = "." + base + "." + std::to_string(getpid()) + "." + std::to_string(attempt) + ".tmp";
    fd = openat(dir, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    const int e = errno;
    close(dir);
    return failure(path, e);
  }
  int error = 0;
  for (std::size_t done = 0; done < text.size() && error == 0;) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno != EINTR) error = errno;
    if (n > 0) done += static_cast<std::size_t>(n);
  }
  if (error == 0 && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0) error = place(dir, temp.c_str(), base.c_str());
  if (error != 0) unlinkat(dir, temp.c_str(), 0);
  close(dir);
  if (error == EEXIST) return path + " exists (qh2 never writes over a file)";
  return error == 0 ? "" : failure(path, error);
}
