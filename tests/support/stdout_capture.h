// Captures what the library prints on standard output between start() and text(); a
// capture still running when the object goes is ended, so that the next test prints again.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

class StdoutCapture {
 public:
  StdoutCapture() = default;
  StdoutCapture(const StdoutCapture&) = delete;
  StdoutCapture& operator=(const StdoutCapture&) = delete;
  ~StdoutCapture() { stop(); }

  void start() {
    std::fflush(stdout);
    ::testing::internal::CaptureStdout();
    running_ = true;
  }
  // What was printed since start(); ends the capture.
  std::string text() {
    std::fflush(stdout);
    running_ = false;
    return ::testing::internal::GetCapturedStdout();
  }
  // Ends a running capture and drops what it caught.
  void stop() {
    if (running_) text();
  }

 private:
  bool running_ = false;
};
