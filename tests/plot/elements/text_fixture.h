// A fixture for the text tests: a screen session whose driver records every point at
// page scale 1, so that the recorded device points are the page points of the strokes,
// and a message stream that the test can read back.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "elements/font_state.h"
#include "devices/device_table.h"
#include "pen/pen.h"
#include "records/state.h"
#include "stylus.h"
#include "support/fresh_process.h"
#include "support/recording_driver.h"
#include "support/scratch_dir.h"

struct PagePoint {
  float x, y;
};
using Polylines = std::vector<std::vector<PagePoint>>;

inline std::ostream& operator<<(std::ostream& out, const PagePoint& p) {
  return out << '(' << p.x << ", " << p.y << ')';
}

class TextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    stylus::set_driver_factory(recording_factory);
    metafl("CONS");
    disini();
    stylus::g_xvray.page_scale = 1.0f;
    messages_ = std::tmpfile();
    ASSERT_NE(messages_, nullptr);
    stylus::g_control.msg_stream = messages_;
    stylus::g_ivray.msg_unit = 6;
    RecordingDriver::log().clear();
  }
  void TearDown() override {
    fresh_process();
    if (messages_ != nullptr) std::fclose(messages_);
  }

  // The strokes sent so far (the pending buffer included), split at the pen moves.
  static Polylines strokes() {
    stylus::qqstrk();
    Polylines out;
    for (const DriverEvent& e : RecordingDriver::points()) {
      if (e.pen == stylus::kPenMove || out.empty()) out.emplace_back();
      out.back().push_back({e.point.x, e.point.y});
    }
    RecordingDriver::log().clear();
    return out;
  }

  // What was written to the message stream so far.
  std::string messages() {
    std::fflush(messages_);
    std::string text;
    std::rewind(messages_);
    for (int c; (c = std::fgetc(messages_)) != EOF;) text += static_cast<char>(c);
    return text;
  }

 private:
  ScratchDir scratch_;
  std::FILE* messages_ = nullptr;
};

// Expects two polyline lists to agree point by point within tol.
inline void expect_near(const Polylines& got, const Polylines& want, float tol) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) {
    ASSERT_EQ(got[i].size(), want[i].size()) << "polyline " << i;
    for (size_t k = 0; k < got[i].size(); ++k) {
      EXPECT_NEAR(got[i][k].x, want[i][k].x, tol) << "polyline " << i << " point " << k;
      EXPECT_NEAR(got[i][k].y, want[i][k].y, tol) << "polyline " << i << " point " << k;
    }
  }
}
