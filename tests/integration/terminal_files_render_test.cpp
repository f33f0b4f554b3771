// The qh2 picture (examples/energy_curve) in the terminal devices' files, read back by the
// programs of others: the Tektronix 4014 stream drawn by a decoder of its address bytes here
// and shown in xterm's Tek window; the VT340's sixel picture decoded by ImageMagick and
// libsixel and shown by xterm as a VT340; the LN03 page decoded by ImageMagick and libsixel.
// Every picture must show frame, labels, titles and the curve where the axis system puts them.
// xterm runs on a private Xvfb server and its window is read back with ImageMagick's import.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/command.h"
#include "support/energy_picture.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"
#if STYLUS_TEST_X11
#include "support/child_process.h"
#include "support/xvfb_server.h"
#endif

namespace {

class TerminalFileReaders : public ::testing::Test {
 protected:
  // Runs the example on a device in the scratch folder; keeps its result points and checks
  // that the protocol names the device and its file, with no warning.
  void draw(const std::string& device, const std::string& file) {
    const std::string exe = std::string(STYLUS_BINARY_DIR) + "/examples/energy_curve";
    ASSERT_TRUE(std::ifstream(exe).good()) << "build the example first: " << exe;
    const CommandResult program = run_command("'" + exe + "' " + device);
    ASSERT_EQ(program.status, 0) << program.output;
    EXPECT_NE(program.output.find("Warnings: 0         Fileformat: " + device + "  <<"),
              std::string::npos)
        << program.output;
    EXPECT_NE(program.output.find(" <<  Metafile: " + file + " "), std::string::npos);
    points_ = result_points(program.output);
    ASSERT_EQ(points_.size(), 59u);
  }
  // The checks of a picture in one colour: the curve is drawn like the axes, through every
  // result point inside the window.
  void check_monochrome(const EnergyPicture& picture, bool (*ink)(Rgb)) const {
    picture.expect_axis_system();
    int inside = 0, hits = 0;
    for (const ResultPoint& p : points_) {
      if (p.y < -32.3f || p.y > -23.2f || page_x(p.x) > 2470.0f) continue;
      ++inside;
      hits += picture.near(page_x(p.x), page_y(p.y), ink, 2) ? 1 : 0;
    }
    EXPECT_GT(inside, 40);
    EXPECT_EQ(hits, inside);
  }

  // The picture a reader makes of a file: its command writes page.png.
  static RgbImage decoded(const std::string& command) {
    const CommandResult r = run_command(command + " && pngtopnm page.png > page.ppm");
    EXPECT_EQ(r.status, 0) << command << ": " << r.output;
    RgbImage image;
    EXPECT_TRUE(image.load_ppm("page.ppm")) << command;
    return image;
  }

#if STYLUS_TEST_X11
  // Starts xterm with the arguments, its shell writing the file to the terminal and then
  // waiting, on a private X server; returns the picture of the window whose name contains
  // `name` once it has stopped changing.
  static RgbImage shown(std::vector<std::string> argv, const std::string& file,
                        const std::string& name) {
    XvfbServer server;
    if (!server.running()) {
      ADD_FAILURE() << "no X server";
      return {};
    }
    argv.insert(argv.begin(), "xterm");
    argv.insert(argv.end(), {"-e", "sh", "-c", "cat '" + file + "'; sleep 120"});
    ChildProcess xterm(
        [argv] {
          std::vector<char*> a;
          for (const std::string& s : argv) a.push_back(const_cast<char*>(s.c_str()));
          a.push_back(nullptr);
          execvp("xterm", a.data());
          _exit(127);
        },
        {"DISPLAY=" + server.display()});
    const std::string env = "DISPLAY=" + server.display() + " ";
    std::string window, last;
    for (int i = 0; i < 100; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      const CommandResult r = run_command(env + "xdotool search --name '" + name + "'");
      if (r.status != 0 || r.output.empty()) continue;
      window = r.output.substr(0, r.output.find('\n'));
      if (run_command(env + "import -window " + window + " -depth 8 -type TrueColor ppm:shot.ppm")
              .status != 0)
        continue;
      const std::string now = read_file("shot.ppm");
      RgbImage image;
      if (now == last && image.load_ppm("shot.ppm")) return image;
      last = now;
    }
    ADD_FAILURE() << "no settled picture of the window '" << name << "'";
    return {};
  }
#endif

  ScratchDir scratch_;
  std::vector<ResultPoint> points_;
};

// A 4014 stream read as the terminal reads it in graph mode and drawn at a quarter of the
// 4096 x 3120 screen, y down. GS makes the next address a dark vector; an address is HiY
// (tag 01), the extra byte and LoY (tag 11; of two in a row the first is the extra byte), HiX
// (tag 01 after a LoY) and LoX (tag 10), which completes it; left-out bytes keep their value.
// `bad` counts control bytes other than GS and US, addresses outside graph mode, and drawn
// vectors that leave the page (x 0..4095, y 0..2895).
RgbImage tek_picture(const std::string& s, int& bad) {
  RgbImage image(1024, 780);
  bool graph = false, dark = false, lo_y_seen = false;
  int hi_y = 0, lo_y = 0, hi_x = 0, extra = 0, x = 0, y = 0;
  bad = 0;
  for (const char byte : s) {
    const int c = static_cast<unsigned char>(byte), v = c & 0x1f;
    if (c == 0x1d || c == 0x1f) {
      graph = c == 0x1d;
      dark = true;
    } else if (c < 0x20 || !graph) {
      ++bad;
    } else if (c >> 5 == 1) {
      (lo_y_seen ? hi_x : hi_y) = v;
    } else if (c >> 5 == 3) {
      if (lo_y_seen) extra = lo_y;  // the byte before was the extra byte
      lo_y = v;
      lo_y_seen = true;
    } else {  // LoX
      const int nx = hi_x << 7 | v << 2 | (extra & 3),
                ny = hi_y << 7 | lo_y << 2 | (extra >> 2 & 3);
      bad += !dark && (nx > 4095 || ny > 2895) ? 1 : 0;
      const int n = dark ? 0 : std::max(std::abs(nx - x), std::abs(ny - y)) / 2 + 1;
      for (int k = 0; k <= n && !dark; ++k)
        image.set((x + (nx - x) * k / n) / 4, (3119 - (y + (ny - y) * k / n)) / 4, {0, 0, 0});
      x = nx;
      y = ny;
      dark = lo_y_seen = false;
    }
  }
  return image;
}

TEST_F(TerminalFileReaders, TektronixStreamDrawnFromItsAddressBytesAndByXterm) {
  ASSERT_NO_FATAL_FAILURE(draw("TEKT", "stylus.tek"));
  const std::string tek = read_file("stylus.tek");
  ASSERT_EQ(tek.substr(0, 4), "\x1b\x0c\x1b`");  // erase, solid vectors
  ASSERT_EQ(tek.back(), '\x1f');                 // alpha mode at the end
  int bad = 0;
  const RgbImage image = tek_picture(tek.substr(4), bad);
  EXPECT_EQ(bad, 0);
  // 4095 / 2969 screen points per page point, the page's top at screen y 2895.
  const double s = 4095.0 / 2969.0;
  check_monochrome(EnergyPicture(image, {0.0, s / 4, 0.0, (3119 - 2895) / 4.0, 0.0, s / 4}, dark),
                   dark);
#if STYLUS_TEST_X11
  // xterm's Tek window: black on white, a border of 2 pixels, then 4096 x 3129 screen points
  // (y from 3105 down to -23) scaled by one factor to fit the window.
  const RgbImage window = shown({"-t"}, "stylus.tek", "(Tek)");
  ASSERT_GT(window.width(), 100);
  const double k = std::min((window.width() - 4) / 4096.0, (window.height() - 4) / 3129.0);
  check_monochrome(
      EnergyPicture(window, {2.0, k * s, 0.0, 2.0 + k * (3106 - 2895), 0.0, k * s}, dark), dark);
#endif
}

TEST_F(TerminalFileReaders, Vt340SixelPictureByImageMagickLibsixelAndXterm) {
  ASSERT_NO_FATAL_FAILURE(draw("VT34", "stylus."));
  // The VT340's screen, the page at 479 / 2099 pixels per point from the upper left corner;
  // white axes and labels, the red curve.
  const PixelMap map = PixelMap::scaled(479.0 / 2099.0);
  for (const char* command :
       {"convert sixel:stylus. page.png", "sixel2png -i stylus. -o page.png"}) {
    SCOPED_TRACE(command);
    const RgbImage image = decoded(command);
    ASSERT_EQ(image.width() * 1000 + image.height(), 800480);
    const EnergyPicture picture(image, map, light);
    picture.expect_axis_system();
    picture.expect_curve(points_);
  }
#if STYLUS_TEST_X11
  // xterm as a VT340: the picture at the upper left corner, inside a border of 2 pixels.
  const RgbImage window = shown({"-ti", "vt340", "-geometry", "140x40"}, "stylus.", "sh");
  ASSERT_GE(window.width(), 804);
  const EnergyPicture picture(window, PixelMap::scaled(479.0 / 2099.0, 2, 2), light);
  picture.expect_axis_system();
  picture.expect_curve(points_);
#endif
}

TEST_F(TerminalFileReaders, Ln03PageByImageMagickAndLibsixel) {
  ASSERT_NO_FATAL_FAILURE(draw("LN03", "stylus.ln3"));
  // The readers show the sheet as a terminal would: the paper (no dot) black, the dots in the
  // first sixel colour. The page at 1239 / 2099 pixels per point, a point 0.1 mm.
  const auto dot = [](Rgb p) { return !dark(p); };
  const PixelMap map = PixelMap::scaled(1239.0 / 2099.0);
  for (const char* command :
       {"convert sixel:stylus.ln3 page.png", "sixel2png -i stylus.ln3 -o page.png"}) {
    SCOPED_TRACE(command);
    const RgbImage image = decoded(command);
    ASSERT_EQ(image.width() * 10000 + image.height(), 17541240);
    check_monochrome(EnergyPicture(image, map, dot), dot);
  }
}

}  // namespace
