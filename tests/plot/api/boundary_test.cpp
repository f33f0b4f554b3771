// The boundary of the public routines: memory that runs out inside one (a driver throwing
// std::bad_alloc) gives warning 53 in that routine; the session goes on without output,
// no file is left behind, and disfin still ends the session with its protocol.
#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <string>

#include "api/session.h"
#include "devices/driver.h"
#include "support/state_fixture.h"
#include "stylus.h"

using namespace stylus;

namespace {

// A driver that runs out of memory at its fifth point once armed, or at the end.
class FailingDriver : public RecordingDriver {
 public:
  static bool& armed() {
    static bool armed = false;
    return armed;
  }
  static bool& fail_at_end() {
    static bool at_end = false;
    return at_end;
  }
  void point(const DevicePoint& p, int pen) override {
    if (armed() && ++points_ == 5 && !fail_at_end()) throw std::bad_alloc();
    RecordingDriver::point(p, pen);
  }
  int finish(const DriverEnd& end) override {
    if (fail_at_end()) throw std::bad_alloc();
    return RecordingDriver::finish(end);
  }

 private:
  int points_ = 0;
};

std::unique_ptr<Driver> failing_factory(int) {
  return std::make_unique<FailingDriver>();
}

std::size_t entries() {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(".")) ++n;
  return n;
}

using Boundary = StateTest;

TEST_F(Boundary, MemoryRunningOutInACallEndsTheOutputNotTheProgram) {
  for (const bool at_end : {false, true}) {
    SCOPED_TRACE(at_end ? "in disfin" : "in curve");
    FailingDriver::fail_at_end() = at_end;
    set_driver_factory(failing_factory);
    metafl("POST");
    disini();
    EXPECT_EQ(entries(), 1u);  // the file being written, under its temporary name
    graf(0.0f, 10.0f, 0.0f, 1.0f, 0.0f, 10.0f, 0.0f, 1.0f);
    const float x[] = {1, 2, 3, 4, 5, 6, 7, 8, 9}, y[] = {1, 9, 2, 8, 3, 7, 4, 6, 5};
    capture();
    FailingDriver::armed() = true;
    curve(x, y, 9);
    FailingDriver::armed() = false;
    if (!at_end) {
      EXPECT_EQ(stdout_text(), " <<<< Warning  53: Not enough memory in curve!\n");
      EXPECT_EQ(current_driver(), nullptr);
      EXPECT_EQ(entries(), 0u);
      curve(x, y, 9);  // the session goes on, drawing nowhere
      capture();
    }
    disfin();
    const std::string out = stdout_text();
    EXPECT_EQ(out.find(" <<<< Warning  53: Not enough memory in disfin!\n") == 0, at_end) << out;
    EXPECT_NE(out.find("Warnings: 1 "), std::string::npos) << out;
    EXPECT_NE(out.find(" <<  Metafile:                                                   <<"),
              std::string::npos)
        << out;
    EXPECT_EQ(g_ivray.level, 0);
    EXPECT_EQ(entries(), 0u);
  }
}

}  // namespace
