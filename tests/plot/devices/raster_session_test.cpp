// Sessions on the raster devices through the library's own calls: the image files that
// the session end writes on the default page, rimage, rtiff and rpng during a session and
// on devices without a picture, the picture of a screen window, and images that cannot be
// written completely.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "devices/byte_order.h"
#include "devices/headless_window_system.h"
#include "devices/raster_driver.h"
#include "devices/screen_driver.h"
#include "draw/pen.h"
#include "plot/state/state_fixture.h"
#include "state/state.h"
#include "stylus.h"
#include "support/child_process.h"

namespace stylus {
namespace {

namespace fs = std::filesystem;

int files_here() {
  int n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(".")) ++n;
  return n;
}

class RasterSession : public StateTest {
 protected:
  // A session on the device with a frame along the page's edges; returns the protocol.
  std::string session(const char* device, const char* table = nullptr) {
    metafl(device);
    disini();
    if (table) setvlt(table);
    strtqq(0, 0);
    connqq(2969, 0);
    connqq(2969, 2099);
    capture();
    disfin();
    return stdout_text();
  }
};

TEST_F(RasterSession, DefaultPageImagesOfTheSessionEnd) {
  metafl("IMAG");
  disini();
  EXPECT_EQ(g_xvray.page_scale, 602.0f / 2099.0f);
  EXPECT_EQ(g_ivray.image_width, 853);
  EXPECT_EQ(g_ivray.image_height, 603);
  color("red");
  strtqq(0, 0);
  connqq(2969, 0);
  connqq(2969, 2099);
  disfin();
  const std::string img = read_file("stylus.img");
  ASSERT_EQ(img.size(), 516248u);
  EXPECT_EQ(img.substr(0, 80),
            "!Bitmap STYLUS VIRT   853   603     8   856     8    32     0     1     0       ");
  // The top row red up to the page's last pixel, 852; its padding 0; the right edge.
  EXPECT_EQ(img.substr(80, 856), std::string(853, '\xFE') + std::string(3, '\0'));
  EXPECT_EQ(img[80 + 856 * 602 + 852], '\xFE');
  EXPECT_EQ(img[80 + 856 * 602 + 851], '\0');

  const std::string out = session("TIFF");
  EXPECT_NE(out.find(" <<  Metafile: stylus.tif "), std::string::npos) << out;
  const std::string tif = read_file("stylus.tif");
  EXPECT_EQ(tif.size(), 519659u);
  EXPECT_EQ(get_u32_le(tif, 146), 5300u);
  EXPECT_EQ(tif.substr(5300, 854), std::string(853, '\xFF') + '\0');

  session("PNG", "SMAL");
  EXPECT_EQ(get_u32_be(read_file("stylus.png"), 33), 27u);  // the PLTE's length
  // The session starts with stylus_1.png free; an image written during the session takes
  // it, so the end writes the next version.
  metafl("PNG");
  disini();
  rpng("stylus.png");
  capture();
  disfin();
  const std::string protocol = stdout_text();
  EXPECT_NE(protocol.find(" <<  Metafile: stylus_2.png "), std::string::npos) << protocol;
  EXPECT_EQ(get_u32_be(read_file("stylus_1.png"), 33), 768u);
  EXPECT_EQ(get_u32_be(read_file("stylus_2.png"), 33), 768u);
  EXPECT_FALSE(file_exists("stylus_3.png"));
}

TEST_F(RasterSession, VirtWritesNothingButItsPictureOnRequest) {
  const std::string out = session("VIRT");
  EXPECT_NE(out.find(" <<  Metafile:                                                   <<"),
            std::string::npos)
      << out;
  EXPECT_EQ(files_here(), 0);

  metafl("VIRT");
  disini();
  rpng("a.png");
  rpng("a.png");
  rimage("a.img");
  disfin();
  EXPECT_TRUE(file_exists("a.png"));
  EXPECT_TRUE(file_exists("a_1.png"));
  EXPECT_EQ(read_file("a.img").size(), 516248u);
  EXPECT_EQ(files_here(), 3);
}

TEST_F(RasterSession, DevicesWithoutAPictureAreRefused) {
  capture();
  rpng("x.png");
  metafl("POST");
  disini();
  rtiff("x.tif");
  rpng("x.png");
  rimage("x.img");
  disfin();
  use_recording_driver();  // the applet device
  metafl("JAVA");
  disini();
  rtiff("x.tif");
  disfin();
  const std::string out = stdout_text();
  EXPECT_EQ(out.substr(0, out.find('\n') + 1),
            " <<<< Warning   3: Incorrect level in rpng!   (   0)\n");
  for (const char* line :
       {" <<<< Warning  40: File format and output device are incompatible in rtiff!\n",
        " <<<< Warning  40: File format and output device are incompatible in rpng!\n",
        " <<<< Warning  40: File format and output device are incompatible in rimage!\n"})
    EXPECT_NE(out.find(line), std::string::npos) << line;
  EXPECT_NE(out.find("in rtiff!\n", out.find("Fileformat: POST")), std::string::npos) << "JAVA";
  for (const char* name : {"x.tif", "x.png", "x.img"}) EXPECT_FALSE(file_exists(name));
}

TEST_F(RasterSession, ScreenPictureIsTheWindowsBackingStoreAsColourNumbers) {
  set_screen_window_system(make_headless_window_system());
  metafl("CONS");
  disini();
  color("red");
  strtqq(100, 100);
  connqq(2969, 100);  // pending in the screen's polyline until the picture is read
  rtiff("screen.tif");
  disfin();
  const std::string tif = read_file("screen.tif");
  ASSERT_GT(tif.size(), 1682u);
  const std::uint32_t w = get_u16_le(tif, 10 + 12 + 8), h = get_u16_le(tif, 10 + 24 + 8);
  EXPECT_EQ(w, 1272u);  // the client area the page scale was made for
  EXPECT_EQ(h, 899u);
  const std::size_t pixels = 1682 + 6 * h, row = pixels + 43 * w;
  EXPECT_EQ(tif.substr(row + 43, 1271 - 43), std::string(1271 - 43, '\xFE'));
  EXPECT_EQ(tif[row + 42], '\0');
  EXPECT_EQ(tif[row + w + 100], '\0');
  EXPECT_EQ(files_here(), 1);  // a window system of the test's own: nothing saved at the end
}

// Under a file-size limit, with the signal that would end the process ignored, every
// write beyond the limit fails as on a full disk.
TEST_F(RasterSession, ImagesThatCannotBeWrittenCompletelyLeaveNothing) {
  ChildProcess child(
      [] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100000, 100000};
        setrlimit(RLIMIT_FSIZE, &limit);
        metafl("TIFF");
        disini();
        rimage("big.img");
        disfin();
      },
      {});
  EXPECT_EQ(child.wait(), 0);
  EXPECT_NE(child.out().find(" <<<< Warning  36: File error in rimage!   (big.img)\n"),
            std::string::npos)
      << child.out();
  EXPECT_NE(child.out().find(" <<<< Warning  36: File error in disfin!   (stylus.tif)\n"),
            std::string::npos)
      << child.out();
  EXPECT_NE(child.out().find(" <<  Metafile:                                                   <<"),
            std::string::npos);
  EXPECT_EQ(files_here(), 0);
}

}  // namespace
}  // namespace stylus
