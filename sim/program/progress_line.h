// The progress of a long run on standard error, when that is a terminal: the separation being
// computed, the fraction done and the time left, redrawn in place twice a second and erased at
// the end.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "sim/dmc/scan.h"

class ProgressLine {
 public:
  // label(job) names a run ("R = 0.741915 A"); jobs is their number. Nothing is drawn unless
  // `show` (the caller checks that standard error is a terminal and --quiet was not given).
  ProgressLine(const qh2::dmc::ScanProgress& progress, std::function<std::string(int)> label,
               int jobs, bool show, std::FILE* out = stderr);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // Erases the line (before other output goes to the same terminal); the next tick redraws it.
  void clear();
  // Stops drawing and erases the line.
  void stop();

  // The text of the line for a fraction done after `elapsed` seconds.
  static std::string text(const std::string& label, int job, int jobs, double fraction,
                          double elapsed);

 private:
  void draw();

  const qh2::dmc::ScanProgress& progress_;
  std::function<std::string(int)> label_;
  int jobs_;
  std::FILE* out_;
  std::chrono::steady_clock::time_point start_;
  std::mutex lock_;
  std::condition_variable wake_;
  bool stopping_ = false, shown_ = false;
  std::thread thread_;
};
