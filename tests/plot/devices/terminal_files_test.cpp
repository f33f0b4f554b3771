// The terminal devices' files byte by byte: the Tektronix 4014 stream (its start, the address
// bytes of known vectors, short addresses, a portrait page, vectors cut to the screen, the
// end), with the end protocol and the versioned names of a second session.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "api/session.h"
#include "devices/byte_sink.h"
#include "devices/device_table.h"
#include "pen/pen.h"
#include "records/protocol.h"
#include "records/state.h"
#include "stylus.h"
#include "support/fixed_clock.h"
#include "support/fresh_process.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

using namespace stylus;

namespace {

class TerminalFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    ensure_process_defaults();
    set_local_time_source(fixed_test_time);
  }
  void TearDown() override { fresh_process(); }

  // One session on a device and page in the scratch folder; the bytes of its file, the end
  // protocol in protocol_.
  std::string session(const char* device, const std::function<void()>& draw = nullptr,
                      const char* page = "DA4L") {
    metafl(device);
    setpag(page);
    ::testing::internal::CaptureStdout();
    disini();
    if (draw) draw();
    disfin();
    protocol_ = ::testing::internal::GetCapturedStdout();
    return read_file(g_control.metafile_name);
  }

  ScratchDir scratch_;
  std::string protocol_;
};

// The 4014 stream's start: erase the screen, solid vectors.
const std::string kTekStart = "\x1b\x0c\x1b`";
// Its end: a dark vector to (0, 2992), the first text line, and alpha mode.
std::string tek_end(const std::string& hi_y_extra_lo_y_hi_x) {
  return "\x1d" + hi_y_extra_lo_y_hi_x + "@\x1f";
}

TEST_F(TerminalFilesTest, TektronixVectorsInExtendedAddresses) {
  const std::string file = session("TEKT", [] {
    setclr(2);  // one colour only: nothing is written
    strtqq(0, 0);
    connqq(2969, 2099);
    connqq(2969, 0);
  });
  // 4095 / 2969 points per point: the page is 4095 x 2895 on the screen, its top left corner
  // at (0, 2895). The first address is whole: HiY 22, extra y & 3 = 3 and x & 3 = 0, LoY
  // 19, HiX 0, LoX 0. To (4095, 0) every byte changes; to (4095, 2895) HiY goes back, the
  // extra byte changes and takes LoY with it, HiX stays and is left out.
  EXPECT_EQ(file, kTekStart +
                      "\x1d"
                      "6ls @"
                      " c`?_"
                      "6os_" +
                      tek_end("7`l "));
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 4095.0f / 2969.0f);
  EXPECT_NE(protocol_.find("Warnings: 0         Fileformat: TEKT  <<"), std::string::npos);
  EXPECT_NE(protocol_.find(" <<  Metafile: stylus.tek "), std::string::npos) << protocol_;
  // A second session keeps the first file and writes the next version.
  session("TEKT");
  EXPECT_NE(protocol_.find(" <<  Metafile: stylus_1.tek "), std::string::npos) << protocol_;
  EXPECT_EQ(read_file("stylus_1.tek"), kTekStart + tek_end("7`l "));
  EXPECT_EQ(read_file("stylus.tek"), file);
}

TEST_F(TerminalFilesTest, TektronixShortAddressesAndPortraitPage) {
  const std::string file = session("TEKT", [] {
    lineqq(0, 0, 2969, 0);  // the page's top edge
    strtqq(100, 100);
    connqq(100, 100);  // one point: a vector of no length, a dot
    connqq(100, 100);  // where the beam stands already: nothing
  });
  // To (4095, 2895) only the extra byte changes: it goes with LoY, and HiX because it
  // changes too. (138, 2757): HiY 21, extra 1 << 2 | 2, LoY 17, HiX 1, LoX 2; the dot's
  // second address is LoX alone.
  EXPECT_EQ(file, kTekStart + "\x1d" + "6ls @" + "os?_" + "\x1d" + "5fq!B" + "B" + tek_end("7`l "));
  // A portrait page fills the screen's height, 3119 / 2969 points per point, from (0, 3119).
  session(
      "TEKT", [] { lineqq(0, 0, 2099, 2969); }, "DA4P");
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 3119.0f / 2969.0f);
  EXPECT_EQ(read_file(g_control.metafile_name),
            kTekStart + "\x1d" + "8lk @" + " a`1G" + tek_end("7`l "));
}

TEST_F(TerminalFilesTest, TektronixVectorsAreCutToTheScreen) {
  // Device points beyond the screen (the session's clip window keeps the page's points on
  // it): each vector is cut at the screen's edges, (0..4095, 0..3119).
  MemorySink sink;
  std::unique_ptr<Driver> d = make_driver(151);
  ASSERT_NE(d, nullptr);
  start_driver(*d, nullptr, &sink);  // the default page: (x, y) goes to (x, 2895 - y)
  auto at = [](int x, int y) { return DevicePoint{0.0f, 0.0f, x, y}; };
  d->point(at(-4095, 1000), kPenMove);
  d->point(at(4095, 1000), kPenDraw);  // from (0, 1895)
  d->point(at(2000, -1000), kPenMove);
  d->point(at(2000, 5000), kPenDraw);  // from (2000, 3119) to (2000, 0)
  d->point(at(-10, -10), kPenMove);
  d->point(at(-5, 3000), kPenDraw);  // left of the screen: nothing
  d->point(at(5000, 0), kPenDraw);   // from (-5, -105) to (5000, 2895): (170, 0) to (4095, 2353)
  EXPECT_EQ(d->finish({}), 1);
  EXPECT_EQ(sink.bytes(), kTekStart + "\x1d" + ".ly @" + "oy?_" + "\x1d" + "8lk/T" + " ``T" +
                              "\x1d" + "b`!J" + "2gl?_" + tek_end("7`l "));
}

}  // namespace
