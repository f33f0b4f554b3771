// Runs Ghostscript on a PostScript file with the null output device and returns its exit
// status and everything it printed (Ghostscript reports PostScript errors on stdout).
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

struct GhostscriptResult {
  int status = -1;     // exit status, -1 when gs could not be run
  std::string output;  // stdout and stderr together
  bool ok() const {
    return status == 0 && output.find("Error") == std::string::npos &&
           output.find("error") == std::string::npos;
  }
};

inline GhostscriptResult run_ghostscript(const std::string& file) {
  GhostscriptResult result;
  const std::string cmd =
      "gs -q -dBATCH -dNOPAUSE -dSAFER -sDEVICE=nullpage '" + file + "' 2>&1 </dev/null";
  std::FILE* pipe = ::popen(cmd.c_str(), "r");
  if (pipe == nullptr) return result;
  char buf[512];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) result.output.append(buf, n);
  const int rc = ::pclose(pipe);
  result.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return result;
}
