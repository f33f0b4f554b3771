// The terminal devices' files byte by byte: the Tektronix 4014 stream (its start, the address
// bytes of known vectors, short addresses, a portrait page, vectors cut to the screen, the
// end); the VT340's sixel picture (raster attributes, colour registers, at most 16 of them);
// the LN03 page (printer set-up, the sheet in one colour, the form feed); each with the end
// protocol and the versioned name of a second session; the polygons the sixel devices fill.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "api/session.h"
#include "devices/byte_sink.h"
#include "devices/device_table.h"
#include "pen/pen.h"
#include "pen/polygon.h"
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
    strtqq(100, 100);
    connqq(100, 100);  // a vector of no length: a dot
    connqq(100, 100);  // where the beam stands already: nothing
  });
  // 4095 / 2969 points per point, the page's top left corner at (0, 2895). The first address
  // is whole: HiY 22, extra (y & 3) << 2 | (x & 3) = 12, LoY 19, HiX 0, LoX 0. To (4095, 0)
  // every byte changes; to (4095, 2895) HiX stays and is left out, LoY goes with the extra
  // byte. (138, 2757): HiY 21, extra 6, LoY 17, HiX 1, LoX 2; again: LoX alone.
  EXPECT_EQ(file, kTekStart + "\x1d" + "6ls @" + " c`?_" + "6os_" + "\x1d" + "5fq!B" + "B" +
                      tek_end("7`l "));
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 4095.0f / 2969.0f);
  EXPECT_NE(protocol_.find("Warnings: 0         Fileformat: TEKT  <<"), std::string::npos);
  EXPECT_NE(protocol_.find(" <<  Metafile: stylus.tek "), std::string::npos) << protocol_;
  // The next session writes the next version; a portrait page fills the screen's height.
  session(
      "TEKT", [] { lineqq(0, 0, 2099, 2969); }, "DA4P");
  EXPECT_NE(protocol_.find(" <<  Metafile: stylus_1.tek "), std::string::npos) << protocol_;
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 3119.0f / 2969.0f);
  EXPECT_EQ(read_file("stylus_1.tek"), kTekStart + "\x1d" + "8lk @" + " a`1G" + tek_end("7`l "));
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

TEST_F(TerminalFilesTest, Vt340RasterAttributesAndColourRegisters) {
  const std::string file = session("VT34", [] {
    lineqq(0, 0, 2969, 0);  // the page's top edge, white
    color("red");
    lineqq(0, 2099, 2969, 2099);  // its bottom edge, the screen's last row
    rpng("screen.png");           // the picture so far, as the raster devices keep it
  });
  // 800 x 480 pixels, the page 679 wide at 479 / 2099 pixels per point. The registers in the
  // order of their colour numbers: black (0), red (254), white (255). The first band: black
  // below the top row and right of the page, white on the top row.
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 479.0f / 2099.0f);
  EXPECT_EQ(file.substr(0, 87),
            "\x1bP0;1;0q\"1;1;800;480#0;2;0;0;0#1;2;100;0;0#2;2;100;100;100"
            "#0!679}!121~$#2!679@-#0!800~-");
  EXPECT_EQ(file.substr(file.size() - 23), "-#0!679^!121~$#1!679_\x1b\\");
  EXPECT_EQ(read_file("screen.png").substr(16, 8), std::string("\0\0\x03\x20\0\0\x01\xe0", 8));
  EXPECT_NE(protocol_.find("Warnings: 0         Fileformat: VT34  <<"), std::string::npos);
  EXPECT_NE(protocol_.find(" <<  Metafile: stylus. "), std::string::npos) << protocol_;
  session("VT34");  // the next version keeps the final dot
  EXPECT_NE(protocol_.find(" <<  Metafile: stylus_1. "), std::string::npos) << protocol_;
  std::string empty = "\x1bP0;1;0q\"1;1;800;480#0;2;0;0;0#0!800~";
  for (int band = 1; band < 80; ++band) empty += "-#0!800~";
  EXPECT_EQ(read_file("stylus_1."), empty + "\x1b\\");
}

TEST_F(TerminalFilesTest, Vt340MapsMoreThanSixteenColoursToTheNearestRegister) {
  // Twenty rainbow colours in lines of decreasing length, one line to a band: the background
  // and colours 10 to 150 take the 16 registers, 160 to 200 go to the nearest of them.
  const std::string file = session("VT34", [] {
    for (int i = 1; i <= 20; ++i) {
      setclr(10 * i);
      lineqq(0, 100 * i, 2969 - 100 * i, 100 * i);
    }
  });
  EXPECT_NE(file.find("#15;2;33;100;0"), std::string::npos);  // colour 150, (84, 255, 0)
  EXPECT_EQ(file.find("#16"), std::string::npos);
  // Row 365 (page y 1600, colour 160, (125, 255, 0)) lies in band 60: drawn in register 15.
  std::size_t band = 0;
  for (int b = 0; b < 60; ++b) band = file.find('-', band) + 1;
  EXPECT_EQ(file.substr(band, file.find('-', band) - band), "#0!313^!487~$#15!313_");
}

TEST_F(TerminalFilesTest, Ln03PrinterSetUpAndTheSheetInSixels) {
  const std::string file = session("LN03", [] {
    lineqq(0, 0, 2969, 0);  // the page's top edge
    color("BACK");          // colour 0 is the paper
    lineqq(0, 1000, 2969, 1000);
  });
  // A4 landscape at 150 dots per inch; the page 1754 pixels wide at 1239 / 2099 pixels per
  // point. One register, no definitions; every band but the first empty.
  const std::string setup = "\x1b[!p\x1b[7 I\x1b[11h\x1b[?21 J\x1b[?52h\x1b[1d\x1b[1`";
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 1239.0f / 2099.0f);
  EXPECT_EQ(file,
            setup + "\x1bP9;1;2q\"1;1;1754;1240#1!1754@" + std::string(206, '-') + "\x1b\\\f");
  EXPECT_NE(protocol_.find("Warnings: 0         Fileformat: LN03  <<"), std::string::npos);
  EXPECT_NE(protocol_.find(" <<  Metafile: stylus.ln3 "), std::string::npos) << protocol_;
  // A portrait page on a portrait sheet, in the next version of the name.
  EXPECT_EQ(session("LN03", nullptr, "DA4P"),
            "\x1b[!p\x1b[7 I\x1b[11h\x1b[?20 J\x1b[?52h\x1b[1d\x1b[1`"
            "\x1bP9;1;2q\"1;1;1240;1754" +
                std::string(292, '-') + "\x1b\\\f");
  EXPECT_NE(protocol_.find(" <<  Metafile: stylus_1.ln3 "), std::string::npos) << protocol_;
}

TEST_F(TerminalFilesTest, SixelDevicesFillPolygonsInTheirRaster) {
  // The square of the page's height at its left: on the LN03 sheet, pixels 0..1239 of rows
  // 0..1238 (the lowest row is left to the outline), sent as one polygon of 4 vectors rather
  // than thousands of strokes; the VT340 paints its screen's raster alike.
  const auto square = [] {
    const float x[4] = {0.0f, 2099.0f, 2099.0f, 0.0f}, y[4] = {0.0f, 0.0f, 2099.0f, 2099.0f};
    fill_polygon(x, y, 4);
  };
  std::string sheet, screen = "\x1bP0;1;0q\"1;1;800;480#0;2;0;0;0#1;2;100;100;100";
  for (int band = 0; band < 206; ++band) sheet += "#1!1240~-";
  EXPECT_EQ(session("LN03", square),
            "\x1b[!p\x1b[7 I\x1b[11h\x1b[?21 J\x1b[?52h\x1b[1d\x1b[1`"
            "\x1bP9;1;2q\"1;1;1754;1240" +
                sheet + "#1!1240F\x1b\\\f");
  EXPECT_NE(protocol_.find("Vectors : 4 "), std::string::npos) << protocol_;
  // On the VT340's screen, 479 / 2099 pixels per point: columns 0..479, rows 0..478.
  for (int band = 0; band < 79; ++band) screen += "#0!480?!320~$#1!480~-";
  EXPECT_EQ(session("VT34", square), screen + "#0!480_!320~$#1!480^\x1b\\");
  EXPECT_NE(protocol_.find("Vectors : 4 "), std::string::npos) << protocol_;
}

}  // namespace
