// A test fixture that gives every test the plot state of a fresh process, a scratch working
// folder, a fixed clock (7 December 2026, 09:13:34) and captured standard output.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "devices/device_table.h"
#include "records/protocol.h"
#include "records/state.h"
#include "support/fixed_clock.h"
#include "support/fresh_process.h"
#include "support/recording_driver.h"
#include "support/scratch_dir.h"
#include "support/stdout_capture.h"
#include "support/text_files.h"

class StateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    stylus::set_local_time_source(fixed_test_time);
    RecordingDriver::log().clear();
    RecordingDriver::finish_result() = 1;
    RecordingDriver::fills_polygons() = false;
  }
  void TearDown() override {
    stdout_.stop();
    close_streams();
    fresh_process();
  }

  // Every driver made from now on is a recording driver, whatever the device.
  void use_recording_driver() { stylus::set_driver_factory(recording_factory); }

  void capture() { stdout_.start(); }
  // What was printed since capture(); ends the capture.
  std::string stdout_text() { return stdout_.text(); }

 private:
  static void close_streams() {
    using stylus::g_control;
    if (g_control.err_stream != nullptr && g_control.err_stream != stdout) {
      std::fclose(g_control.err_stream);
    }
    g_control.err_stream = nullptr;
  }

  ScratchDir scratch_;
  StdoutCapture stdout_;
};
