// The screen window driver through the recording window system: window creation and
// geometry, the device polyline, colours, titles, the end-of-plot wait and its events.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "devices/screen_window.h"
#include "support/fake_window_system.h"

namespace stylus {
namespace {

using testing::FakeWindowSystem;
using Op = FakeWindowSystem::OpKind;
using Kind = WindowEvent::Kind;

// The screen options of the plot state with their defaults.
struct Options {
  int page_w = 2969, page_h = 2099;
  int size_opt = 0, x = 0, y = 0, width = 0, height = 0, depth = 0, mapping = 0;
  int client_w = 0, client_h = 0, bitmap = 2, background = 0;
};

// A table whose entry i is distinguishable: 0x00RRGGBB with the index in every byte,
// except that 0 is black.
std::array<int, 256> ramp() {
  std::array<int, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = i * 0x010101;
  return t;
}

class ScreenWindowTest : public ::testing::Test {
 protected:
  explicit ScreenWindowTest(ScreenInfo s = {1280, 1024, 24}) : fake_(s), screen_(fake_, exit_) {}
  void open(int code, Options& o) {
    screen_.qqwini(code, o.page_w, o.page_h, o.size_opt, o.x, o.y, o.width, o.height, o.depth,
                   o.mapping, o.client_w, o.client_h, o.bitmap, o.background);
  }
  WindowId open(int code) {
    Options o;
    open(code, o);
    return fake_.last_window();
  }
  WindowEvent event(Kind k, WindowId w, WindowEvent::Key key = WindowEvent::Key::other) {
    WindowEvent e;
    e.kind = k;
    e.window = w;
    e.key = key;
    return e;
  }

  FakeWindowSystem fake_;
  std::vector<int> exits_;
  std::function<void(int)> exit_ = [this](int s) { exits_.push_back(s); };
  ScreenWindows screen_;
};

TEST_F(ScreenWindowTest, OpensConsoleWindowWithSpecifiedGeometry) {
  Options o;
  open(80, o);
  const auto created = fake_.ops_of(Op::create_window);
  ASSERT_EQ(created.size(), 1u);
  EXPECT_EQ(created[0].rect, (Rect{0, 99, 1279, 925}));
  EXPECT_EQ(created[0].text, "STYLUS 1 / Working");
  EXPECT_EQ(created[0].color, kBlack);
  EXPECT_EQ(o.client_w, 1272);
  EXPECT_EQ(o.client_h, 899);
  EXPECT_EQ(o.width, 1272);
  EXPECT_EQ(o.height, 899);
  EXPECT_EQ(o.x, 4);
  EXPECT_EQ(o.y, 121);
  EXPECT_EQ(o.depth, 24);
  EXPECT_EQ(screen_.colour_mode(), 3);
  // The backing store covers the client area and starts in colour 0.
  const auto store = fake_.ops_of(Op::create_backing_store);
  ASSERT_EQ(store.size(), 1u);
  EXPECT_EQ(store[0].rect, (Rect{0, 0, 1272, 899}));
  const auto fills = fake_.ops_of(Op::fill_rect);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].rect, (Rect{0, 0, 1272, 899}));
  EXPECT_EQ(fills[0].color, kBlack);
}

TEST_F(ScreenWindowTest, GivenSizeAndPositionAreKept) {
  Options o;
  o.size_opt = 1, o.x = 100, o.y = 200, o.width = 300, o.height = 150;
  open(75, o);
  EXPECT_EQ(fake_.ops_of(Op::create_window)[0].rect, (Rect{96, 178, 307, 176}));
  EXPECT_EQ(o.x, 100);
  EXPECT_EQ(o.y, 200);
  EXPECT_EQ(o.client_w, 300);
  EXPECT_EQ(o.client_h, 150);
}

TEST_F(ScreenWindowTest, WhiteBackgroundOption) {
  Options o;
  o.background = 2;
  open(80, o);
  EXPECT_EQ(fake_.ops_of(Op::create_window)[0].color, kWhite);
  EXPECT_EQ(fake_.ops_of(Op::fill_rect)[0].color, kWhite);
}

TEST_F(ScreenWindowTest, ZeroLengthVectorLeavesOnePixelInLastChosenColour) {
  const WindowId w = open(80);
  const auto table = ramp();
  screen_.qqwvlt(1, table.data());
  screen_.qqwclr(200);
  fake_.clear_ops();
  screen_.qqwdrw(100, 100, 3);
  screen_.qqwdrw(100, 100, 2);
  screen_.qqwdrw(100, 100, 2);
  screen_.qqwdrw(0, 0, 999);
  ASSERT_EQ(fake_.ops().size(), 1u);
  EXPECT_EQ(fake_.ops()[0].kind, Op::set_pixel);
  EXPECT_EQ(fake_.ops()[0].window, w);
  EXPECT_EQ(fake_.ops()[0].points, (std::vector<Point>{{100, 100}}));
  EXPECT_EQ(fake_.ops()[0].color, 0xC8C8C8u);

  // A fill chooses the colour of the next single pixel, but not of the pen.
  screen_.qqwfll(0, 0, 5, 5, 17);
  fake_.clear_ops();
  screen_.qqwdrw(7, 8, 3);
  screen_.qqwdrw(7, 8, 2);
  screen_.qqwdrw(9, 9, 3);
  screen_.qqwdrw(10, 10, 2);
  screen_.qqwdrw(0, 0, 999);
  ASSERT_EQ(fake_.ops().size(), 2u);
  EXPECT_EQ(fake_.ops()[0].kind, Op::set_pixel);
  EXPECT_EQ(fake_.ops()[0].color, 0x111111u);
  EXPECT_EQ(fake_.ops()[1].kind, Op::polyline);
  EXPECT_EQ(fake_.ops()[1].color, 0xC8C8C8u);
}

TEST_F(ScreenWindowTest, MovesAloneNeverPaint) {
  open(80);
  fake_.clear_ops();
  screen_.qqwdrw(1, 1, 3);
  screen_.qqwdrw(2, 2, 3);
  screen_.qqwdrw(0, 0, 999);
  screen_.qqwdrw(0, 0, 999);
  EXPECT_TRUE(fake_.ops().empty());
}

TEST_F(ScreenWindowTest, LongLinesGoOutAsPolylinesOfFiftyPoints) {
  open(80);
  fake_.clear_ops();
  screen_.qqwdrw(0, 0, 3);
  int drawn = 0;
  for (int i = 1; drawn < 120; ++i) {
    screen_.qqwdrw(i, 2 * i, 2);
    ++drawn;
    if (i % 7 == 0) screen_.qqwdrw(i, 2 * i, 2);  // repeated points are dropped
  }
  screen_.qqwdrw(0, 0, 999);
  const auto lines = fake_.ops_of(Op::polyline);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].points.size(), 50u);
  EXPECT_EQ(lines[1].points.size(), 50u);
  EXPECT_EQ(lines[2].points.size(), 23u);
  EXPECT_EQ(lines[0].points.front(), (Point{0, 0}));
  EXPECT_EQ(lines[1].points.front(), lines[0].points.back());
  EXPECT_EQ(lines[2].points.front(), lines[1].points.back());
  EXPECT_EQ(lines[2].points.back(), (Point{120, 240}));
  for (const auto& l : lines)
    for (std::size_t i = 1; i < l.points.size(); ++i) EXPECT_NE(l.points[i], l.points[i - 1]);
  // A flush keeps the last point as the start of what follows.
  fake_.clear_ops();
  screen_.qqwdrw(130, 5, 2);
  screen_.qqwdrw(0, 0, 999);
  ASSERT_EQ(fake_.ops_of(Op::polyline).size(), 1u);
  EXPECT_EQ(fake_.ops_of(Op::polyline)[0].points, (std::vector<Point>{{120, 240}, {130, 5}}));
}

TEST_F(ScreenWindowTest, ColourTableEntriesBecomeDirectColours) {
  open(80);
  std::array<int, 256> t{};
  t[254] = 0xFF0000;
  t[255] = 0xFFFFFF;
  t[3] = 0x123456;
  screen_.qqwvlt(1, t.data());
  EXPECT_EQ(screen_.slot_colour(254), 0xFF0000u);
  screen_.qqwclr(254 + 256);  // indices wrap at 256
  screen_.qqwdrw(0, 0, 3);
  screen_.qqwdrw(5, 0, 2);
  screen_.qqwclr(3);  // a colour change flushes the pending line first
  const auto lines = fake_.ops_of(Op::polyline);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].color, 0xFF0000u);
  // The 8-colour table loads nine slots only.
  const auto full = ramp();
  screen_.qqwvlt(1, full.data());
  std::array<int, 256> small{};
  small.fill(0x777777);
  screen_.qqwvlt(0, small.data());
  EXPECT_EQ(screen_.slot_colour(8), 0x777777u);
  EXPECT_EQ(screen_.slot_colour(9), 0x090909u);
  EXPECT_EQ(screen_.slot_colour(254), 0xFEFEFEu);
}

class PaletteDisplayTest : public ScreenWindowTest {
 protected:
  PaletteDisplayTest() : ScreenWindowTest({1024, 768, 8}) {}
};

TEST_F(PaletteDisplayTest, EightBitDisplayMapsIndicesOntoHalfTheSlots) {
  open(80);
  EXPECT_EQ(screen_.colour_mode(), 1);
  const auto table = ramp();
  screen_.qqwvlt(1, table.data());
  EXPECT_EQ(screen_.slot_colour(0), 0u);
  EXPECT_EQ(screen_.slot_colour(1), 0x010101u);    // entry 1
  EXPECT_EQ(screen_.slot_colour(128), 0xFFFFFFu);  // entry 255
  EXPECT_EQ(screen_.slot_colour(127), 0xFDFDFDu);  // entry 253
  screen_.qqwclr(254);                             // slot (254 + 1) / 2 = 127
  screen_.qqwdrw(1, 1, 3);
  screen_.qqwdrw(2, 2, 2);
  screen_.qqwdrw(0, 0, 999);
  EXPECT_EQ(fake_.ops_of(Op::polyline).at(0).color, 0xFDFDFDu);
}

class FourBitDisplayTest : public ScreenWindowTest {
 protected:
  FourBitDisplayTest() : ScreenWindowTest({640, 480, 4}) {}
};

TEST_F(FourBitDisplayTest, SixteenSlotsSpanTheTable) {
  open(80);
  EXPECT_EQ(screen_.colour_mode(), 2);
  const auto table = ramp();
  screen_.qqwvlt(1, table.data());
  EXPECT_EQ(screen_.slot_colour(0), 0u);
  EXPECT_EQ(screen_.slot_colour(1), 0x010101u);  // (1 - 1) * 253 / 13 + 1.5 = 1
  EXPECT_EQ(screen_.slot_colour(2), 0x141414u);  // 19.46 + 1.5 = 20
  EXPECT_EQ(screen_.slot_colour(15), 0xFFFFFFu);
  screen_.qqwfll(0, 0, 1, 1, 255);  // slot 15
  EXPECT_EQ(fake_.ops_of(Op::fill_rect).back().color, 0xFFFFFFu);
  screen_.qqwfll(0, 0, 1, 1, 128);  // 127 * 13 / 253 + 1.5 = 8.03: slot 8
  EXPECT_EQ(fake_.ops_of(Op::fill_rect).back().color, 0x898989u);  // 7 * 253 / 13 + 1.5: 137
}

TEST_F(ScreenWindowTest, SecondWindowTakesOverTheWorkingTitle) {
  const WindowId first = open(80);
  const WindowId second = open(76);
  EXPECT_NE(first, second);
  EXPECT_EQ(fake_.title(first), "STYLUS 1");
  EXPECT_EQ(fake_.title(second), "STYLUS 2 / Working");
  EXPECT_EQ(screen_.current_slot(), 1);
  fake_.push_event(event(Kind::right_release, first));  // not the current window: ignored
  fake_.push_event(event(Kind::right_release, second));
  screen_.qqwfin(0);
  EXPECT_EQ(fake_.title(second), "STYLUS 2 / Click MB2 to continue ...");
  EXPECT_EQ(fake_.title(first), "STYLUS 1");
  // The release over the current window closes every window of the library.
  EXPECT_FALSE(fake_.is_open(first));
  EXPECT_FALSE(fake_.is_open(second));
  EXPECT_EQ(fake_.ops_of(Op::next_event).size(), 2u);
}

TEST_F(ScreenWindowTest, ReopeningASlotReplacesItsWindowAndStillWaits) {
  const WindowId first = open(80);
  const WindowId second = open(80);
  EXPECT_FALSE(fake_.is_open(first));
  EXPECT_TRUE(fake_.is_open(second));
  EXPECT_EQ(fake_.title(second), "STYLUS 1 / Working");
  fake_.push_event(event(Kind::right_release, second));
  screen_.qqwfin(0);
  EXPECT_EQ(fake_.ops_of(Op::next_event).size(), 1u);  // the replacement did not end it
  EXPECT_FALSE(fake_.is_open(second));
}

TEST_F(ScreenWindowTest, InputQueuedWhileDrawingIsHandledWhenTheWaitStarts) {
  const WindowId w = open(80);
  // The user clicks and types while the program still draws.
  fake_.push_event(event(Kind::other_button, w));
  fake_.push_event(event(Kind::key, w, WindowEvent::Key::return_key));
  fake_.push_event(event(Kind::key, w, WindowEvent::Key::escape_key));
  fake_.push_event(event(Kind::expose, w));
  fake_.push_event(event(Kind::right_release, w));
  fake_.push_event(event(Kind::right_release, w));  // never read: the wait has ended
  screen_.qqwdrw(10, 10, 3);
  screen_.qqwdrw(20, 10, 2);
  EXPECT_EQ(fake_.index_of(Op::next_event), -1) << "events handled while drawing";
  screen_.qqwfin(0);

  const auto& ops = fake_.ops();
  const int title = fake_.index_of(Op::set_title);
  const int line = fake_.index_of(Op::polyline);
  const int first_copy = fake_.index_of(Op::copy_to_window);
  const int first_event = fake_.index_of(Op::next_event);
  const int destroyed = fake_.index_of(Op::destroy_window);
  ASSERT_GE(title, 0);
  EXPECT_EQ(ops[title].text, "STYLUS 1 / Click MB2 to continue ...");
  EXPECT_LT(title, line);  // title, pending line, picture shown, then the wait
  EXPECT_LT(line, first_copy);
  EXPECT_LT(first_copy, first_event);
  EXPECT_EQ(ops[first_copy].rect, (Rect{0, 0, 1272, 899}));
  EXPECT_EQ(fake_.ops_of(Op::next_event).size(), 5u);
  EXPECT_EQ(fake_.ops_of(Op::copy_to_window).size(), 2u);  // the expose repainted
  EXPECT_GT(destroyed, first_event + 4);                   // only the release closed it
  EXPECT_TRUE(exits_.empty());
}

TEST_F(ScreenWindowTest, ReturnOrEscapeEndTheWaitOnlyWithTheirKeyOption) {
  WindowId w = open(80);
  fake_.push_event(event(Kind::key, w, WindowEvent::Key::escape_key));
  fake_.push_event(event(Kind::key, w, WindowEvent::Key::other));
  fake_.push_event(event(Kind::key, w, WindowEvent::Key::return_key));
  screen_.qqwfin(10);
  EXPECT_EQ(fake_.title(w), "STYLUS 1 / Click MB2 or RETURN to continue ...");
  EXPECT_EQ(fake_.ops_of(Op::next_event).size(), 3u);
  EXPECT_FALSE(fake_.is_open(w));

  fake_.clear_ops();
  w = open(80);
  fake_.push_event(event(Kind::key, w, WindowEvent::Key::return_key));
  fake_.push_event(event(Kind::key, w, WindowEvent::Key::escape_key));
  screen_.qqwfin(20);
  EXPECT_EQ(fake_.title(w), "STYLUS 1 / Click MB2 or ESC to continue ...");
  EXPECT_EQ(fake_.ops_of(Op::next_event).size(), 2u);
  EXPECT_FALSE(fake_.is_open(w));
}

TEST_F(ScreenWindowTest, EndModesReturnAtOnceOrClose) {
  WindowId w = open(80);
  screen_.qqwfin(2);
  EXPECT_EQ(fake_.title(w), "STYLUS 1");
  EXPECT_TRUE(fake_.is_open(w));
  EXPECT_EQ(fake_.index_of(Op::next_event), -1);

  w = open(80);
  screen_.qqwfin(3);
  EXPECT_FALSE(fake_.is_open(w));
  EXPECT_EQ(fake_.index_of(Op::next_event), -1);
  // The quit of that close is not left for the next session's wait.
  w = open(80);
  fake_.push_event(event(Kind::right_release, w));
  screen_.qqwfin(0);
  EXPECT_EQ(fake_.ops_of(Op::next_event).size(), 1u);
}

TEST_F(ScreenWindowTest, CloseButtonClosesWindowsAndEndsTheProcessWithStatusZero) {
  const WindowId first = open(77);
  const WindowId second = open(80);
  fake_.push_event(event(Kind::close, second));
  screen_.qqwfin(0);
  EXPECT_EQ(exits_, (std::vector<int>{0}));
  EXPECT_FALSE(fake_.is_open(first));
  EXPECT_FALSE(fake_.is_open(second));
}

// Opens a window, clicks its close button and waits: never returns.
void close_during_wait() {
  FakeWindowSystem fake;
  ScreenWindows screen(fake);
  Options o;
  screen.qqwini(80, o.page_w, o.page_h, o.size_opt, o.x, o.y, o.width, o.height, o.depth, o.mapping,
                o.client_w, o.client_h, o.bitmap, o.background);
  WindowEvent e;
  e.kind = Kind::close;
  e.window = fake.last_window();
  fake.push_event(e);
  // Buffered output of the program must not be lost: stdout goes to the stderr that the
  // death test reads, fully buffered, so the text arrives only if the exit flushes it.
  std::fflush(stdout);
  dup2(2, 1);
  std::setvbuf(stdout, nullptr, _IOFBF, 4096);
  std::fputs("pending output", stdout);
  screen.qqwfin(0);
  std::abort();  // not reached
}

TEST(ScreenWindowExit, CloseButtonExitsTheRealProcess) {
  EXPECT_EXIT(close_during_wait(), ::testing::ExitedWithCode(0), "pending output");
}

TEST_F(ScreenWindowTest, NoEventsEverEndTheWaitLikeARelease) {
  const WindowId w = open(80);
  screen_.qqwfin(0);  // the fake, like a headless system, has nothing to report
  EXPECT_FALSE(fake_.is_open(w));
  EXPECT_TRUE(exits_.empty());
}

TEST_F(ScreenWindowTest, MissingBackingStoreIsReportedAndEndsTheWait) {
  fake_.fail_backing_stores(true);
  const WindowId w = open(80);
  const auto boxes = fake_.ops_of(Op::message_box);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Cannot create Bitmap");
  EXPECT_EQ(boxes[0].caption, "disini");
  EXPECT_EQ(fake_.ops_of(Op::fill_rect).size(), 0u);
  fake_.push_event(event(Kind::other_button, w));
  screen_.qqwfin(0);
  EXPECT_EQ(fake_.index_of(Op::next_event), -1);
  EXPECT_TRUE(fake_.is_open(w));
}

TEST_F(ScreenWindowTest, DirectDrawingOptionHasNoBackingStore) {
  Options o;
  o.bitmap = 1;
  const WindowId w = (open(80, o), fake_.last_window());
  EXPECT_EQ(fake_.index_of(Op::create_backing_store), -1);
  EXPECT_EQ(fake_.index_of(Op::fill_rect), -1);
  fake_.push_event(event(Kind::expose, w));
  fake_.push_event(event(Kind::right_release, w));
  screen_.qqwsbf();
  screen_.qqwfin(0);
  EXPECT_EQ(fake_.index_of(Op::copy_to_window), -1);
  EXPECT_FALSE(fake_.is_open(w));
}

TEST_F(ScreenWindowTest, PictureUpdateCopiesTheBackingStore) {
  const WindowId w = open(77);
  screen_.qqwdrw(1, 1, 3);
  screen_.qqwdrw(4, 4, 2);
  screen_.qqwsbf();
  const auto copies = fake_.ops_of(Op::copy_to_window);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].window, w);
  EXPECT_EQ(copies[0].rect, (Rect{0, 0, 853, 603}));
  EXPECT_LT(fake_.index_of(Op::polyline), fake_.index_of(Op::copy_to_window));
  screen_.qqwmsg("text", "disfin");
  EXPECT_EQ(fake_.ops_of(Op::message_box).at(0).caption, "disfin");
}

}  // namespace
}  // namespace stylus
