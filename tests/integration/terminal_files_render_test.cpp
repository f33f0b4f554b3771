// The qh2 picture (examples/energy_curve) in the terminal devices' files, read back: the
// Tektronix 4014 stream drawn by a decoder of the 4014's address bytes here. The picture must
// show frame, labels, titles and the curve where the axis system puts them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/command.h"
#include "support/energy_picture.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

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

TEST_F(TerminalFileReaders, TektronixStreamDrawnFromItsAddressBytes) {
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
  const EnergyPicture picture(image, {0.0, s / 4, 0.0, (3119 - 2895) / 4.0, 0.0, s / 4}, dark);
  check_monochrome(picture, dark);
}

}  // namespace
