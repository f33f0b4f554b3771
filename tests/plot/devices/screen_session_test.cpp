// Screen sessions through the library's own calls on the recording window system: the
// window and page scale of disini, drawing through the pen model, the wait of disfin and
// the end protocol after it, the windowed protocol and the close button.
#include <gtest/gtest.h>

#include "devices/driver.h"
#include "devices/screen_driver.h"
#include "pen/pen.h"
#include "support/state_fixture.h"
#include "records/state.h"
#include "stylus.h"
#include "support/child_process.h"
#include "support/fake_window_system.h"

namespace stylus {
namespace {

using testing::FakeWindowSystem;
using Op = FakeWindowSystem::OpKind;

// Notes how much standard output there was when a window was destroyed.
class WatchingWindowSystem : public FakeWindowSystem {
 public:
  void destroy_window(WindowId w) override {
    std::fflush(stdout);
    output_at_destroy = std::ftell(stdout);
    FakeWindowSystem::destroy_window(w);
  }
  long output_at_destroy = -1;
};

struct CloseButton {};

class ScreenSession : public StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    auto ws = std::make_unique<WatchingWindowSystem>();
    fake_ = ws.get();
    set_screen_window_system(std::move(ws), [this](int status) {
      exits_.push_back(status);
      throw CloseButton{};  // the process would end here
    });
  }
  void TearDown() override {
    set_screen_window_system(nullptr);
    StateTest::TearDown();
  }
  void release_right_button() {
    WindowEvent e;
    e.kind = WindowEvent::Kind::right_release;
    e.window = fake_->last_window();
    fake_->push_event(e);
  }

  WatchingWindowSystem* fake_ = nullptr;
  std::vector<int> exits_;
};

TEST_F(ScreenSession, ConsoleSessionDrawsScaledPageAndWaitsBeforeTheProtocol) {
  metafl("cons");
  disini();
  ASSERT_EQ(fake_->ops_of(Op::create_window).size(), 1u);
  EXPECT_EQ(fake_->ops_of(Op::create_window)[0].rect, (Rect{0, 99, 1279, 925}));
  EXPECT_EQ(fake_->title(fake_->last_window()), "STYLUS 1 / Working");
  // Client 1272 x 899: the page fits 1271 x 898 pixels; the height is the limit.
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 898.0f / 2099.0f);

  color("red");
  strtqq(100, 100);
  connqq(2969, 2099);
  connqq(2969, 0);
  release_right_button();
  capture();
  disfin();
  const std::string out = stdout_text();

  const auto lines = fake_->ops_of(Op::polyline);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].points, (std::vector<Point>{{43, 43}, {1270, 898}, {1270, 0}}));
  EXPECT_EQ(lines[0].color, 0xFF0000u);
  EXPECT_EQ(fake_->title(fake_->last_window()), "STYLUS 1 / Click MB2 to continue ...");
  EXPECT_FALSE(fake_->is_open(fake_->last_window()));
  EXPECT_EQ(fake_->output_at_destroy, 0) << "protocol printed before the window closed";
  EXPECT_NE(out.find(" <<  Vectors : 3           Warnings: 0         Fileformat: CONS  <<\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("\n <<  Metafile:                                                   <<\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(g_ivray.level, 0);
}

TEST_F(ScreenSession, ZeroLengthVectorIsOnePixelOfTheCurrentColour) {
  metafl("CONS");
  disini();
  color("GREEN");
  strtqq(1000, 500);
  connqq(1000, 500);
  release_right_button();
  capture();
  disfin();
  stdout_text();
  const auto pixels = fake_->ops_of(Op::set_pixel);
  ASSERT_EQ(pixels.size(), 1u);
  EXPECT_EQ(pixels[0].points, (std::vector<Point>{{428, 214}}));  // 427.83, 213.91
  EXPECT_EQ(pixels[0].color, 0x00FF00u);
  EXPECT_TRUE(fake_->ops_of(Op::polyline).empty());
}

TEST_F(ScreenSession, WindowedProtocolIsAMessageWindowAfterTheWait) {
  winini();
  metafl("CONS");
  disini();
  release_right_button();
  capture();
  disfin();
  EXPECT_EQ(stdout_text(), "");
  const auto boxes = fake_->ops_of(Op::message_box);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "disfin");
  EXPECT_NE(boxes[0].text.find("\n Fileformat  : CONS"), std::string::npos) << boxes[0].text;
  EXPECT_EQ(boxes[0].text.find("Metafile"), std::string::npos);
  EXPECT_LT(fake_->index_of(Op::destroy_window), fake_->index_of(Op::message_box));
}

TEST_F(ScreenSession, CloseButtonEndsWithStatusZeroAndNoProtocol) {
  // The process really ends (nothing of disfin may throw past its caller): in a child.
  ChildProcess child(
      [] {
        auto ws = std::make_unique<FakeWindowSystem>();
        FakeWindowSystem* fake = ws.get();
        set_screen_window_system(std::move(ws));
        metafl("CONS");
        disini();
        WindowEvent e;
        e.kind = WindowEvent::Kind::close;
        e.window = fake->last_window();
        fake->push_event(e);
        disfin();
        std::printf("after disfin\n");
      },
      {});
  EXPECT_EQ(child.wait(), 0);
  EXPECT_EQ(child.out(), "");
}

TEST_F(ScreenSession, CornerWindowDevicesUseTheirSlots) {
  metafl("XWI3");
  disini();
  EXPECT_EQ(g_ivray.window_number, 3);
  EXPECT_EQ(fake_->title(fake_->last_window()), "STYLUS 3 / Working");
  // 853 x 603 at (4, 22): the page scale is min(852 / 2969, 602 / 2099).
  EXPECT_EQ(fake_->ops_of(Op::create_window)[0].rect, (Rect{0, 0, 860, 629}));
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 602.0f / 2099.0f);
  release_right_button();
  capture();
  disfin();
  stdout_text();
  EXPECT_EQ(fake_->title(fake_->last_window()), "STYLUS 3 / Click MB2 to continue ...");
}

TEST_F(ScreenSession, WindowNumbersOfTheScreenDevices) {
  const struct {
    const char* key;
    int window;
  } rows[] = {{"XWIN", 1}, {"XWI2", 2}, {"XWI3", 3}, {"XWI5", 5}, {"XWND", 1}, {"MET4", 1}};
  for (const auto& row : rows) {
    metafl(row.key);
    disini();
    EXPECT_EQ(g_ivray.window_number, row.window) << row.key;
    release_right_button();
    capture();
    disfin();
    stdout_text();
  }
}

}  // namespace
}  // namespace stylus
