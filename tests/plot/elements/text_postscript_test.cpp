// Stroke-font text in a real PostScript session, rendered by Ghostscript: the strokes of
// large letters must be dark exactly where the page coordinates put them and the open
// parts of the letters light, upright and at 90 degrees.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "elements/font_state.h"
#include "elements/text.h"
#include "devices/postscript.h"
#include "support/fresh_process.h"
#include "pen/pen.h"
#include "records/state.h"
#include "stylus.h"
#include "support/scratch_dir.h"

namespace {

constexpr int kDpi = 100;

// A greyscale raster read from a binary PGM file.
struct Gray {
  int width = 0, height = 0;
  std::vector<unsigned char> pixels;
  // The darkest pixel within r pixels of (col, row).
  int darkest(int col, int row, int r) const {
    int best = 255;
    for (int y = row - r; y <= row + r; ++y)
      for (int x = col - r; x <= col + r; ++x)
        if (x >= 0 && y >= 0 && x < width && y < height)
          best = std::min<int>(best, pixels[static_cast<size_t>(y) * width + x]);
    return best;
  }
};

Gray read_pgm(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::string magic;
  in >> magic;
  Gray g;
  if (magic != "P5") return g;
  int values[3], got = 0;
  while (got < 3 && in) {
    in >> std::ws;
    if (in.peek() == '#') {
      std::string comment;
      std::getline(in, comment);
      continue;
    }
    in >> values[got++];
  }
  in.get();  // the single blank after the maximum value
  g.width = values[0], g.height = values[1];
  g.pixels.assign(std::istreambuf_iterator<char>(in), {});
  if (g.pixels.size() != static_cast<size_t>(g.width) * g.height) g.width = g.height = 0;
  return g;
}

// Where page point (x, y) of the landscape default page lands on the rendered A4 sheet:
// the page is turned onto the portrait sheet (page y to the right, page x upwards), scaled
// by page_scale and the sheet factor into 0.14226378-point units from (150, 200).
struct SheetMap {
  float factor;  // page points to PostScript points
  int col(float, float y) const { return static_cast<int>((150 * kCm + factor * y) * kDpi / 72); }
  int row(float x, float) const {
    return static_cast<int>((842 - (200 * kCm + factor * x)) * kDpi / 72);
  }
  static constexpr float kCm = 0.14226378f;
};

class TextOnPostScript : public ::testing::Test {
 protected:
  void SetUp() override { fresh_process(); }
  void TearDown() override { fresh_process(); }

  // Runs a session that draws with `draw`, renders stylus.psc and returns the raster.
  template <typename Draw>
  Gray render(Draw draw) {
    ::testing::internal::CaptureStdout();
    metafl("POST");
    disini();
    using stylus::g_ivray;
    const stylus::DriverPage page{g_ivray.page_nx, g_ivray.page_ny, g_ivray.page_rotation,
                                  stylus::g_xvray.user_scale};
    map_.factor =
        stylus::g_xvray.page_scale * stylus::postscript_sheet_scale(page).factor * SheetMap::kCm;
    draw();
    disfin();
    ::testing::internal::GetCapturedStdout();
    const std::string cmd = "gs -q -dBATCH -dNOPAUSE -dSAFER -sDEVICE=pgmraw -r" +
                            std::to_string(kDpi) +
                            " -sPAPERSIZE=a4 -dFIXEDMEDIA -sOutputFile=text.pgm stylus.psc"
                            " > gs.log 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << "gs failed";
    return read_pgm("text.pgm");
  }

  bool dark_at(const Gray& g, float x, float y) const {
    return g.darkest(map_.col(x, y), map_.row(x, y), 2) < 128;
  }

  SheetMap map_{};
  ScratchDir scratch_;
};

TEST_F(TextOnPostScript, UprightLetterHasItsStrokesWhereThePageCoordinatesSay) {
  // h - 1 = 700: one design unit is 700 / 6 across and 100 up; the baseline is at 1500.
  const Gray g = render([] { stylus::dtext("H", 1000, 800, 0, 701); });
  ASSERT_GT(g.width, 0);
  const float left = 1000 + 700.0f / 6, right = 1000 + 5 * 700.0f / 6;
  EXPECT_TRUE(dark_at(g, left, 1300));   // left stem
  EXPECT_TRUE(dark_at(g, right, 1300));  // right stem
  EXPECT_TRUE(dark_at(g, 1350, 1100));   // crossbar at design y 4
  EXPECT_FALSE(dark_at(g, 1350, 1300));  // open below the crossbar
  EXPECT_FALSE(dark_at(g, 1350, 900));   // open above it
  EXPECT_FALSE(dark_at(g, 1000, 1300));  // nothing left of the letter
  EXPECT_FALSE(dark_at(g, 1350, 1560));  // nothing below the baseline
}

TEST_F(TextOnPostScript, AtNinetyDegreesTheLetterStandsOnTheLineXPlusHMinus1) {
  // "L" turned by 90 degrees: the stem lies along the page x axis, the foot runs upwards
  // on the baseline x = 1000 + 700.
  const Gray g = render([] { stylus::dtext("L", 1000, 1500, 90, 701); });
  ASSERT_GT(g.width, 0);
  const float stem_y = 1500 - 700.0f / 6;
  EXPECT_TRUE(dark_at(g, 1350, stem_y));       // stem, design x 1
  EXPECT_TRUE(dark_at(g, 1700, 1500 - 350));   // foot on the baseline
  EXPECT_FALSE(dark_at(g, 1350, 1500 - 350));  // inside the L
  EXPECT_FALSE(dark_at(g, 1100, 1500 - 500));  // above the stem's far end
  EXPECT_FALSE(dark_at(g, 1850, 1500 - 350));  // beyond the baseline
}

}  // namespace
