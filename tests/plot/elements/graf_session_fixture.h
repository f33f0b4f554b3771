// A fixture for the axis and curve tests: a screen session whose driver records every
// point at page scale 1, so that the recorded device points are the page points, rounded.
#pragma once

#include <string>
#include <vector>

#include "devices/driver.h"
#include "pen/pen.h"
#include "support/state_fixture.h"
#include "records/state.h"
#include "stylus.h"
#include "support/recording_driver.h"

struct PageLine {
  std::vector<std::pair<int, int>> points;
  bool operator==(const PageLine& o) const { return points == o.points; }
};
inline std::ostream& operator<<(std::ostream& out, const PageLine& l) {
  for (const auto& p : l.points) out << '(' << p.first << ", " << p.second << ')';
  return out;
}

class AxisSession : public StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    use_recording_driver();
    metafl("CONS");
    disini();
    stylus::g_xvray.page_scale = 1.0f;
    RecordingDriver::log().clear();
  }

  // The program's axis system.
  static void program_graf() { graf(0.0f, 3.0f, 0.0f, 0.5f, -32.5f, -23.0f, -32.5f, 1.0f); }

  // The polylines sent so far (the pending buffer included), split at the pen moves.
  static std::vector<PageLine> lines() {
    stylus::qqstrk();
    std::vector<PageLine> out;
    for (const DriverEvent& e : RecordingDriver::points()) {
      if (e.pen == stylus::kPenMove || out.empty()) out.emplace_back();
      out.back().points.emplace_back(e.point.ix, e.point.iy);
    }
    RecordingDriver::log().clear();
    return out;
  }
  static PageLine line(std::initializer_list<std::pair<int, int>> pts) { return PageLine{pts}; }
  // Index of the first polyline equal to l, or -1.
  static int find(const std::vector<PageLine>& all, const PageLine& l) {
    for (size_t i = 0; i < all.size(); ++i)
      if (all[i] == l) return static_cast<int>(i);
    return -1;
  }
};
