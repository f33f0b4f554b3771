// A test fixture that gives every test the plot state of a fresh process, a scratch working
// folder, a fixed clock (7 December 2026, 09:13:34) and captured standard output.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

#include "devices/driver.h"
#include "draw/line_style.h"
#include "draw/pen.h"
#include "state/protocol.h"
#include "state/state.h"
#include "support/recording_driver.h"
#include "support/scratch_dir.h"

inline std::tm fixed_test_time() {
  std::tm t{};
  t.tm_mday = 7;
  t.tm_mon = 11;
  t.tm_year = 2026 - 1900;
  t.tm_hour = 9;
  t.tm_min = 13;
  t.tm_sec = 34;
  return t;
}

inline std::string read_file(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline bool file_exists(const std::string& name) {
  return std::ifstream(name).good();
}

class StateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_state();
    stylus::set_local_time_source(fixed_test_time);
    RecordingDriver::log().clear();
    RecordingDriver::finish_result() = 1;
  }
  void TearDown() override {
    if (capturing_) stdout_text();
    close_streams();
    stylus::set_driver_factory(nullptr);
    stylus::set_local_time_source(nullptr);
    stylus::set_message_window(nullptr);
    fresh_state();
  }

  // Every driver made from now on is a recording driver, whatever the device.
  void use_recording_driver() { stylus::set_driver_factory(recording_factory); }

  void capture() {
    std::fflush(stdout);
    ::testing::internal::CaptureStdout();
    capturing_ = true;
  }
  // What was printed since capture(); ends the capture.
  std::string stdout_text() {
    std::fflush(stdout);
    capturing_ = false;
    return ::testing::internal::GetCapturedStdout();
  }

 private:
  static void close_streams() {
    using stylus::g_control;
    if (g_control.out_stream != nullptr && g_control.out_stream != stdout) {
      std::fclose(g_control.out_stream);
    }
    if (g_control.err_stream != nullptr && g_control.err_stream != stdout) {
      std::fclose(g_control.err_stream);
    }
    g_control.out_stream = nullptr;
    g_control.err_stream = nullptr;
  }
  static void fresh_state() {
    stylus::set_current_driver(nullptr);
    stylus::reset_process_state();
    stylus::g_pen = stylus::PenRecord{};
    stylus::g_style = stylus::LineStyleRecord{};
  }

  ScratchDir scratch_;
  bool capturing_ = false;
};
