// One filled symbol, one error bar and one legend entry in a PostScript session, byte for
// byte: the records after the header, as Ghostscript reads them without error.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "elements/axis_state.h"
#include "support/fixed_clock.h"
#include "support/fresh_process.h"
#include "support/ghostscript.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"
#include "records/protocol.h"
#include "records/state.h"
#include "stylus.h"

using namespace stylus;

namespace {

constexpr std::size_t kHeaderLines = 5 + 72 + 1;

class MarksOnPostScript : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    set_local_time_source(fixed_test_time);
    msgmod("OFF");
    metafl("POST");
    disini();
  }
  void TearDown() override { fresh_process(); }
  // An axis system that sets the scaling and draws nothing.
  static void scaling_only() {
    g_axis.suppress_axes = 1;
    graf(0.0f, 3.0f, 0.0f, 0.5f, -32.5f, -23.0f, -32.5f, 1.0f);
  }
  // Ends the session; the records of the file after its header, checked by Ghostscript.
  std::string body() {
    disfin();
    EXPECT_TRUE(run_ghostscript("stylus.psc").ok());
    const std::vector<std::string> lines = split_lines(read_file("stylus.psc"));
    std::string out;
    for (std::size_t i = kHeaderLines; i < lines.size(); ++i) out += lines[i] + "\n";
    return out;
  }

  ScratchDir scratch_;
};

}  // namespace

// The landscape page lies turned on the sheet: a page point (x, y) is the device point
// (y, x) times 13/7, rounded.

TEST_F(MarksOnPostScript, FilledSquare) {
  symbol(15, 1000, 800);  // 35 points: corners 982.5 and 1017.5 across, 782.5 and 817.5 down
  EXPECT_EQ(body(),
            "0 0 0 f 1518 1825 u 1518 1890 d 1453 1890 d 1453 1825 d closepath fill 1518 \n"
            "1825 u 1518 1890 d 1453 1890 d 1453 1825 d 1518 1825 d p showpage \n");
}

TEST_F(MarksOnPostScript, ErrorBar) {
  scaling_only();
  const float x = 1.5f, y = -28.0f, lo = 1.0f, hi = 0.5f;
  errbar(&x, &y, &lo, &hi, 1);
  // The bar at page x 1483.5 from y 1283.58 (-29) to 1062.68 (-27.5), caps 30 across.
  EXPECT_EQ(body(),
            "0 0 0 f 2384 2755 u 1974 2755 d p 2384 2727 u 2384 2783 d p 1974 2727 u 1974 \n"
            "2783 d p showpage \n");
}

TEST_F(MarksOnPostScript, LegendEntry) {
  scaling_only();
  legini(1);
  const float x[2] = {5.0f, 6.0f}, y[2] = {-30.0f, -29.0f};  // outside: only recorded
  dash();
  curve(x, y, 2);
  solid();
  leglin("A", 1);
  legpag(100, 200);
  // After the session's colour and the one curve puts back: the frame 197 x 90 points, the
  // entry's colour, the dashed sample at y 245 from x 118 to 226 (pieces of 10), the colour
  // of the legend again, and the "A" from (244, 228) at height 36.
  EXPECT_EQ(body(),
            "0 0 0 f 0 0 0 f 371 186 u 371 552 d 539 552 d 539 186 d 371 186 d p 0 0 0 f 455 \n"
            "219 u 455 238 d p 455 256 u 455 275 d p 455 293 u 455 312 d p 455 331 u 455 349 \n"
            "d p 455 368 u 455 386 d p 455 405 u 455 420 d p 0 0 0 f 488 464 u 433 464 d 423 \n"
            "475 d 423 496 d 433 507 d 488 507 d p 451 464 u 451 507 d p showpage \n");
}
