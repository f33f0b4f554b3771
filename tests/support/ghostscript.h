// Runs Ghostscript on a PostScript file with the null output device and returns its exit
// status and everything it printed (Ghostscript reports PostScript errors on stdout).
#pragma once

#include <string>

#include "support/command.h"

struct GhostscriptResult : CommandResult {
  bool ok() const {
    return status == 0 && output.find("Error") == std::string::npos &&
           output.find("error") == std::string::npos;
  }
};

inline GhostscriptResult run_ghostscript(const std::string& file) {
  return {
      run_command("gs -q -dBATCH -dNOPAUSE -dSAFER -sDEVICE=nullpage '" + file + "' </dev/null")};
}
