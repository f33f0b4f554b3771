// Runs a shell command and returns its exit status and everything it printed, standard
// output and standard error together.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

struct CommandResult {
  int status = -1;     // exit status; -1 when the command could not be run or did not exit
  std::string output;  // stdout and stderr together
};

inline CommandResult run_command(const std::string& command) {
  CommandResult result;
  std::FILE* pipe = ::popen(("(" + command + ") 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) result.output.append(buf, n);
  const int rc = ::pclose(pipe);
  result.status = rc != -1 && WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return result;
}
