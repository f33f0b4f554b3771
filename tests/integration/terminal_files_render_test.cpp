// The qh2 picture (examples/energy_curve) in the terminal devices' files, read back by the
// programs of others: the Tektronix 4014 stream drawn by a decoder of its address bytes here
// and shown in xterm's Tek window; the VT340's sixel picture decoded by ImageMagick and
// libsixel and shown by xterm as a VT340. Every picture must show frame, labels, titles and
// the curve where the axis system puts them. xterm runs on a private Xvfb server and its
// window is read back with ImageMagick's import.
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

// A vector of the 4014 screen, y up.
struct TekVector {
  int x0, y0, x1, y1;
};

// The vectors of a 4014 stream, read as the terminal reads it in graph mode: GS makes the
// next address a dark vector; an address is HiY (tag 01), the extra byte and LoY (tag 11;
// of two in a row the first is the extra byte), HiX (tag 01 after a LoY) and LoX (tag 10),
// which completes it; left-out bytes keep their last value. Control bytes other than GS and
// US, and any address before the first GS, make `ok` false.
std::vector<TekVector> tek_vectors(const std::string& s, std::size_t from, bool& ok) {
  std::vector<TekVector> out;
  ok = true;
  bool graph = false, dark = false, lo_y_seen = false;
  int hi_y = 0, lo_y = 0, hi_x = 0, extra = 0, pending_lo_y = -1;
  int x = 0, y = 0;
  for (std::size_t i = from; i < s.size(); ++i) {
    const int c = static_cast<unsigned char>(s[i]);
    if (c == 0x1d) {
      graph = dark = true;
      continue;
    }
    if (c == 0x1f) {
      graph = false;
      continue;
    }
    if (c < 0x20 || !graph) {
      ok = false;
      continue;
    }
    const int tag = c >> 5, v = c & 0x1f;
    if (tag == 1) {
      (lo_y_seen ? hi_x : hi_y) = v;
    } else if (tag == 3) {
      if (lo_y_seen) extra = pending_lo_y;  // the byte before was the extra byte
      pending_lo_y = v;
      lo_y = v;
      lo_y_seen = true;
    } else {  // LoX: the address is complete
      const int nx = hi_x << 7 | v << 2 | (extra & 3);
      const int ny = hi_y << 7 | lo_y << 2 | (extra >> 2 & 3);
      if (!dark) out.push_back({x, y, nx, ny});
      x = nx;
      y = ny;
      dark = false;
      lo_y_seen = false;
    }
  }
  return out;
}

TEST_F(TerminalFileReaders, TektronixStreamDrawnFromItsAddressBytesAndByXterm) {
  ASSERT_NO_FATAL_FAILURE(draw("TEKT", "stylus.tek"));
  const std::string tek = read_file("stylus.tek");
  ASSERT_EQ(tek.substr(0, 4), "\x1b\x0c\x1b`");  // erase, solid vectors
  ASSERT_EQ(tek.back(), '\x1f');                 // alpha mode at the end
  bool ok = false;
  const std::vector<TekVector> vectors = tek_vectors(tek, 4, ok);
  EXPECT_TRUE(ok);
  ASSERT_GT(vectors.size(), 1000u);
  // Drawn at a quarter of the 4096 x 3120 screen, y down; 4095 / 2969 screen points per page
  // point, the page's top at screen y 2895.
  RgbImage image(1024, 780);
  const auto on_page = [](int x, int y) { return x >= 0 && x <= 4095 && y >= 0 && y <= 2895; };
  for (const TekVector& v : vectors) {
    EXPECT_TRUE(on_page(v.x0, v.y0) && on_page(v.x1, v.y1));
    const int n = std::max(std::abs(v.x1 - v.x0), std::abs(v.y1 - v.y0)) / 2 + 1;
    for (int k = 0; k <= n; ++k) {
      const double t = static_cast<double>(k) / n;
      image.set(static_cast<int>((v.x0 + t * (v.x1 - v.x0)) / 4),
                static_cast<int>((3119 - (v.y0 + t * (v.y1 - v.y0))) / 4), {0, 0, 0});
    }
  }
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

}  // namespace
