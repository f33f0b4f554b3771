// One plot session on a file device in the current folder, as a program runs it (metafl,
// setpag, disini, the drawing, disfin), with a fresh library, the fixed clock and the end
// protocol kept off the test's output. Returns the bytes of the file it wrote.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "state/protocol.h"
#include "state/state.h"
#include "stylus.h"
#include "support/fixed_clock.h"
#include "support/text_files.h"

inline std::string file_session(const char* device, const std::function<void()>& draw,
                                const char* page = "DA4L") {
  stylus::set_local_time_source(fixed_test_time);
  metafl(device);
  setpag(page);
  ::testing::internal::CaptureStdout();
  disini();
  if (draw) draw();
  disfin();
  ::testing::internal::GetCapturedStdout();
  return read_file(stylus::g_control.metafile_name);
}
