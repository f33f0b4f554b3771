// Runs a function or a program in a child process with its standard output and error
// collected, for tests of whole programs: exit status, what they print, and what they do
// meanwhile on a display.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

class ChildProcess {
 public:
  // env: "NAME=value" to set, "NAME" alone to remove, before body runs.
  ChildProcess(std::function<void()> body, std::vector<std::string> env) {
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) std::abort();
    std::fflush(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      dup2(err[1], 2);
      close(out[0]), close(out[1]), close(err[0]), close(err[1]);
      for (const std::string& e : env) {
        const auto eq = e.find('=');
        if (eq == std::string::npos) {
          unsetenv(e.c_str());
        } else {
          setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
        }
      }
      body();
      std::fflush(nullptr);
      _exit(0);
    }
    close(out[1]);
    close(err[1]);
    out_ = out[0];
    err_ = err[0];
  }
  ~ChildProcess() {
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      wait();
    }
    close(out_);
    close(err_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Runs a program with arguments in the child.
  static std::function<void()> program(std::string path) {
    return [path] {
      execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
      std::perror("execl");
      _exit(127);
    };
  }

  bool running() {
    if (exited_) return false;
    int status = 0;
    const pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == pid_) record(status);
    return !exited_;
  }
  // Waits for the end and returns the exit status (-signal when killed).
  int wait() {
    while (!exited_) {
      drain();
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        record(status);
      } else {
        pollfd p[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        poll(p, 2, 50);
      }
    }
    drain();
    return status_;
  }
  const std::string& out() {
    drain();
    return out_text_;
  }
  const std::string& err() {
    drain();
    return err_text_;
  }

 private:
  void record(int status) {
    exited_ = true;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }
  // Reads what is there without blocking, so that a chatty child never stalls on a pipe.
  void drain() {
    for (auto [fd, text] : {std::pair{out_, &out_text_}, std::pair{err_, &err_text_}}) {
      fcntl(fd, F_SETFL, O_NONBLOCK);
      char buf[4096];
      for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) text->append(buf, n);
    }
  }

  pid_t pid_ = -1;
  int out_ = -1, err_ = -1;
  bool exited_ = false;
  int status_ = 0;
  std::string out_text_, err_text_;
};
