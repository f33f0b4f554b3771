// Raster sessions through the library's own calls: the images of the session end on the
// default page, rimage, rtiff and rpng during a session and on devices without a picture,
// and images that cannot be written completely.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "devices/byte_order.h"
#include "pen/pen.h"
#include "support/state_fixture.h"
#include "records/state.h"
#include "stylus.h"
#include "support/child_process.h"

namespace stylus {
namespace {

int files_here() {
  int n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(".")) ++n;
  return n;
}

class RasterSession : public StateTest {
 protected:
  // Starts a session on the device and draws the page's top and right edges.
  static void start(const char* device, const char* table = "RAIN") {
    metafl(device);
    disini();
    setvlt(table);
    strtqq(0, 0);
    connqq(2969, 0);
    connqq(2969, 2099);
  }
  // Ends the session; returns the protocol.
  std::string end() {
    capture();
    disfin();
    return stdout_text();
  }
};

TEST_F(RasterSession, ImagesOfTheSessionEndOnTheDefaultPage) {
  metafl("IMAG");
  disini();
  EXPECT_EQ(g_xvray.page_scale, 602.0f / 2099.0f);
  EXPECT_EQ(g_ivray.screen_opts[kScreenWidth] * 1000 + g_ivray.screen_opts[kScreenHeight], 853603);
  color("red");
  strtqq(0, 0);
  connqq(2969, 0);
  connqq(2969, 2099);
  disfin();
  const std::string img = read_file("stylus.img");
  ASSERT_EQ(img.size(), 516248u);
  EXPECT_EQ(img.substr(0, 80),
            "!Bitmap STYLUS VIRT   853   603     8   856     8    32     0     1     0       ");
  // The top row red up to the page's last pixel, 852, then its padding; the right edge.
  EXPECT_EQ(img.substr(80, 856), std::string(853, '\xFE') + std::string(3, '\0'));
  EXPECT_EQ(img.substr(80 + 856 * 602 + 851, 2), std::string("\0\xFE", 2));

  start("PNG", "SMAL");
  end();
  EXPECT_EQ(get_u32_be(read_file("stylus.png"), 33), 27u);  // the PLTE's length
  // An image written during the session takes the next free name (stylus_1.png), so the
  // end writes the one after it.
  start("PNG");
  rpng("stylus.png");
  EXPECT_NE(end().find(" <<  Metafile: stylus_2.png "), std::string::npos);
  EXPECT_EQ(get_u32_be(read_file("stylus_1.png"), 33), 768u);
  EXPECT_TRUE(read_file("stylus_2.png") == read_file("stylus_1.png"));
}

TEST_F(RasterSession, VirtWritesOnlyWhatIsAskedFor) {
  start("VIRT");
  EXPECT_NE(end().find(" <<  Metafile:                                                   <<"),
            std::string::npos);
  EXPECT_EQ(files_here(), 0);
  start("VIRT");
  rpng("a.png");
  rpng_("a.png   ", 8);  // a blank-padded name by reference
  disfin();
  EXPECT_TRUE(file_exists("a.png") && read_file("a.png") == read_file("a_1.png"));
  EXPECT_EQ(files_here(), 2);
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
  const std::string refused = " <<<< Warning  40: File format and output device are incompatible";
  EXPECT_EQ(out.find(" <<<< Warning   3: Incorrect level in rpng!   (   0)\n"), 0u);
  for (const char* routine : {"rtiff", "rpng", "rimage"})
    EXPECT_NE(out.find(refused + " in " + routine + "!\n"), std::string::npos) << routine;
  EXPECT_NE(out.find(refused + " in rtiff!\n", out.find("Fileformat: POST")), std::string::npos)
      << "JAVA";
  for (const char* name : {"x.tif", "x.png", "x.img"}) EXPECT_FALSE(file_exists(name));
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
  const std::string& out = child.out();
  EXPECT_NE(out.find(" <<<< Warning  36: File error in rimage!   (big.img)\n"), std::string::npos);
  EXPECT_NE(out.find(" <<<< Warning  36: File error in disfin!   (stylus.tif)\n"),
            std::string::npos);
  EXPECT_NE(out.find(" <<  Metafile:                                                   <<"),
            std::string::npos)
      << out;
  EXPECT_EQ(files_here(), 0);
}

}  // namespace
}  // namespace stylus
