// A whole screen session in a child process on a private Xvfb server, driven from a
// second client as a user would: the window and its titles, the picture after disfin,
// the buttons and keys that do or do not end the wait, the close button, and the same
// session without any display.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "pen/pen.h"
#include "stylus.h"
#include "support/child_process.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"
#include "support/x11_observer.h"
#include "support/xvfb_server.h"

namespace {

// One byte through a pipe, with a deadline so that a hung peer fails the test.
bool wait_byte(int fd) {
  pollfd p{fd, POLLIN, 0};
  char c;
  return poll(&p, 1, 60000) == 1 && read(fd, &c, 1) == 1;
}

// The session of the test program: a white frame, a red line, its picture as screen.tif,
// then disfin. Between the drawing and disfin it tells the parent and waits for its go.
void session(int ready_fd, int go_fd) {
  metafl("CONS");
  disini();
  color("FORE");
  // Page scale 898 / 2099: page (200, 200) is pixel (86, 86), (2700, 1900) is (1155, 813).
  const float fx[] = {200, 2700, 2700, 200, 200}, fy[] = {200, 200, 1900, 1900, 200};
  for (int i = 0; i < 5; ++i) (i == 0 ? stylus::strtqq : stylus::connqq)(fx[i], fy[i]);
  color("red");
  stylus::strtqq(300, 1000);  // pixel row 428
  stylus::connqq(2600, 1000);
  if (ready_fd >= 0) {
    (void)!write(ready_fd, "r", 1);
    wait_byte(go_fd);
  }
  rtiff("screen.tif");
  disfin();
  std::printf("the program goes on\n");
}

class X11ScreenSession : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!XvfbServer::installed()) GTEST_SKIP() << "Xvfb is not installed; run scripts/bootstrap.sh";
    ASSERT_TRUE(server_.running()) << "Xvfb is installed but did not start";
    ASSERT_EQ(pipe(ready_), 0);
    ASSERT_EQ(pipe(go_), 0);
    child_ =
        std::make_unique<ChildProcess>([this] { session(ready_[1], go_[0]); },
                                       std::vector<std::string>{"DISPLAY=" + server_.display()});
    ASSERT_TRUE(wait_byte(ready_[0])) << child_->err();
  }
  void TearDown() override {
    child_.reset();
    for (int fd : {ready_[0], ready_[1], go_[0], go_[1]}) close(fd);
  }
  void go() { ASSERT_EQ(write(go_[1], "g", 1), 1); }

  ScratchDir scratch_;  // the child's working folder
  XvfbServer server_;
  int ready_[2] = {-1, -1}, go_[2] = {-1, -1};
  std::unique_ptr<ChildProcess> child_;
};

constexpr std::uint32_t kRed = 0xFF0000, kWhite = 0xFFFFFF, kBlack = 0;

TEST_F(X11ScreenSession, PictureAppearsAtDisfinAndOnlyTheRightButtonEndsTheWait) {
  X11Observer user(server_.display());
  const Window w = user.wait_for_window("STYLUS 1 / Working");
  ASSERT_NE(w, None);
  EXPECT_EQ(user.text_property(w, "_NET_WM_NAME"), "STYLUS 1 / Working");
  EXPECT_EQ(user.pixel(w, 700, 428), kBlack) << "drawing shown before disfin";

  go();
  ASSERT_TRUE(X11Observer::eventually([&] {
    return user.title(w) == "STYLUS 1 / Click MB2 to continue ..." &&
           user.pixel(w, 700, 428) == kRed;
  }));
  EXPECT_EQ(user.pixel(w, 700, 86), kWhite);    // top of the frame
  EXPECT_EQ(user.pixel(w, 86, 400), kWhite);    // left side
  EXPECT_EQ(user.pixel(w, 1155, 813), kWhite);  // lower right corner
  EXPECT_EQ(user.pixel(w, 700, 300), kBlack);   // background
  EXPECT_EQ(user.pixel(w, 700, 429), kBlack);   // the line is one pixel high

  // Other buttons and keys do nothing. Once the window has been repainted after them,
  // the program has handled them all and is still waiting.
  user.button(w, ButtonPress, 1);
  user.button_release(w, 1);
  user.button(w, ButtonPress, 2);
  user.button_release(w, 2);
  user.button(w, ButtonPress, 3);  // a press alone is no release
  user.key_press(w, XK_a);
  user.key_press(w, XK_Return);
  user.key_press(w, XK_Escape);
  XClearArea(user.dpy, w, 0, 0, 0, 0, False);
  XSync(user.dpy, False);
  EXPECT_EQ(user.pixel(w, 700, 428), kBlack);
  user.expose(w);
  ASSERT_TRUE(X11Observer::eventually([&] { return user.pixel(w, 700, 428) == kRed; }));
  EXPECT_TRUE(child_->running());
  EXPECT_EQ(child_->out(), "");

  // The user's real right click over the window.
  const std::string click = "DISPLAY=" + server_.display() + " xdotool mousemove --window " +
                            std::to_string(w) + " 300 300 click 3";
  ASSERT_EQ(std::system(click.c_str()), 0);
  EXPECT_EQ(child_->wait(), 0);
  EXPECT_FALSE(user.exists(w));
  const std::string& out = child_->out();
  EXPECT_NE(out.find(" <<  Vectors : 7           Warnings: 0         Fileformat: CONS  <<\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("\n <<  Metafile:                                                   <<\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(child_->err(), "");

  // The picture read back from the window's pixmap, as colour numbers of the rainbow table.
  const std::string tif = read_file("screen.tif");
  ASSERT_EQ(tif.size(), 1682u + 6 * 899 + 1272 * 899);
  auto at = [&](int x, int y) {
    return static_cast<unsigned char>(tif[1682 + 6 * 899 + 1272 * y + x]);
  };
  EXPECT_EQ(at(700, 428), 254);
  EXPECT_EQ(at(700, 86), 255);
  EXPECT_EQ(at(700, 300), 0);
}

TEST_F(X11ScreenSession, CloseButtonEndsAtOnceWithStatusZeroAndNoProtocol) {
  X11Observer user(server_.display());
  const Window w = user.wait_for_window("STYLUS 1 / Working");
  ASSERT_NE(w, None);
  go();
  ASSERT_TRUE(X11Observer::eventually(
      [&] { return user.title(w) == "STYLUS 1 / Click MB2 to continue ..."; }));
  user.close_button(w);
  EXPECT_EQ(child_->wait(), 0);
  EXPECT_EQ(child_->out(), "");
  EXPECT_EQ(child_->err(), "");
  EXPECT_FALSE(user.exists(w));
}

TEST_F(X11ScreenSession, AServerThatGoesAwayEndsTheWaitAndTheProgramGoesOn) {
  {
    X11Observer user(server_.display());
    const Window w = user.wait_for_window("STYLUS 1 / Working");
    ASSERT_NE(w, None);
    go();
    ASSERT_TRUE(X11Observer::eventually(
        [&] { return user.title(w) == "STYLUS 1 / Click MB2 to continue ..."; }));
  }
  server_.stop();  // while disfin waits for the right button
  EXPECT_EQ(child_->wait(), 0);
  const std::string& out = child_->out();
  EXPECT_NE(out.find(" <<  Vectors : 7           Warnings: 0         Fileformat: CONS  <<\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("\n\nthe program goes on\n"), std::string::npos) << out;
  EXPECT_NE(child_->err().find("STYLUS: the connection to display \""), std::string::npos)
      << child_->err();
}

TEST_F(X11ScreenSession, ResizingRepaintsTheSamePictureAtTheCorner) {
  X11Observer user(server_.display());
  const Window w = user.wait_for_window("STYLUS 1 / Working");
  ASSERT_NE(w, None);
  go();
  ASSERT_TRUE(X11Observer::eventually([&] { return user.pixel(w, 700, 428) == kRed; }));
  EXPECT_EQ(user.pixel(w, 1112, 428), kRed);  // page x 2600: the end of the line
  EXPECT_EQ(user.pixel(w, 1113, 428), kBlack);

  XMoveResizeWindow(user.dpy, w, 0, 0, 1500, 1000);  // cleared, then repainted
  XSync(user.dpy, False);
  ASSERT_TRUE(X11Observer::eventually([&] { return user.pixel(w, 700, 428) == kRed; }));
  EXPECT_EQ(user.pixel(w, 1112, 428), kRed);  // not rescaled
  EXPECT_EQ(user.pixel(w, 1113, 428), kBlack);
  EXPECT_EQ(user.pixel(w, 1276, 950), kBlack);  // outside the backing store: background
  EXPECT_EQ(user.pixel(w, 1276, 428), kBlack);
  EXPECT_TRUE(child_->running());
  user.button_release(w, 3);
  EXPECT_EQ(child_->wait(), 0);
}

TEST(ScreenSessionWithoutDisplay, DrawsOffScreenKeepsThePictureAndEndsWithTheProtocol) {
  ScratchDir scratch;
  ChildProcess child([] { session(-1, -1); }, {"DISPLAY"});
  EXPECT_EQ(child.wait(), 0);
  EXPECT_EQ(child.err(),
            "STYLUS: no display (DISPLAY is not set); the screen window is drawn off-screen\n"
            "STYLUS: the off-screen picture is saved as stylus.png\n");
  EXPECT_NE(child.out().find("Fileformat: CONS  <<\n"), std::string::npos) << child.out();
  EXPECT_EQ(read_file("stylus.png").substr(1, 3), "PNG");
  EXPECT_EQ(read_file("screen.tif").substr(0, 3), "II*");
}

}  // namespace
