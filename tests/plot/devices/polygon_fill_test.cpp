// Filled polygons on the devices with a fill of their own: the PostScript tokens, the CGM
// elements, the Windows metafile records, the SVG path and the PDF operators of one red
// triangle between two lines, and the pixels that the raster and the screen paint alike.
#include <gtest/gtest.h>
#include <zlib.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "devices/headless_window_system.h"
#include "devices/virtual_raster.h"
#include "devices/wmf_recorder.h"
#include "pen/pen.h"
#include "pen/polygon.h"
#include "stylus.h"
#include "support/state_fixture.h"
#include "support/wmf_records.h"

using namespace stylus;

namespace {

class PolygonFill : public StateTest {
 protected:
  // A session that draws a line, fills the triangle (100, 200), (300, 200), (200, 50) in
  // red and draws another line; returns the file.
  std::string session(const char* device, const char* file) {
    capture();
    metafl(device);
    disini();
    xmove(10.0f, 10.0f);
    xdraw(20.0f, 10.0f);
    color("RED");
    const float x[3] = {100.0f, 300.0f, 200.0f}, y[3] = {200.0f, 200.0f, 50.0f};
    fill_polygon(x, y, 3);
    xmove(30.0f, 10.0f);
    xdraw(40.0f, 10.0f);
    disfin();
    stdout_text();
    return read_file(file);
  }
};

}  // namespace

TEST_F(PolygonFill, PostScriptFillsAClosedPathOfItsOwn) {
  // Device x = page y, device y = page x, times 13/7; red is a grey on "POST".
  EXPECT_NE(session("POST", "stylus.psc")
                .find("0 0 0 f 19 19 u 19 37 d p 230 230 230 f 371 186 u 371 557 d 93 371 d "
                      "closepath \nfill 19 56 u 19 74 d p showpage \n"),
            std::string::npos);
}

TEST_F(PolygonFill, CgmPolygonWithSolidInteriorAndFillColour) {
  // INTERIOR STYLE solid, FILL COLOUR red, POLYGON of three VDC points (half points, y up).
  const std::string elements(
      "\x52\xC2\x00\x01\x52\xE3\xFF\x00\x00\x00\x40\xFF\x00\x0C"
      "\x00\xC8\x0E\xD6\x02\x58\x0E\xD6\x01\x90\x10\x02",
      26);
  EXPECT_NE(session("CGM", "stylus.cgm").find(elements), std::string::npos);
}

TEST_F(PolygonFill, WindowsMetafilePolygonWithABrushOfThePensColour) {
  const WmfFile f = read_wmf(session("WMF", "stylus.wmf"));
  ASSERT_EQ(f.error, "");
  std::size_t at = 0;
  while (at < f.records.size() && f.records[at].function != kWmfPolygon) ++at;
  ASSERT_TRUE(at >= 2 && at + 3 < f.records.size());
  EXPECT_EQ(f.records[at - 2].function, kWmfCreateBrushIndirect);
  EXPECT_EQ(f.records[at - 2].params.substr(2, 4), std::string("\xFF\x00\x00\x00", 4));
  // Three points in twips (1440 / 254 per point), x before y.
  const int words[7] = {3, 567, 1134, 1701, 1134, 1134, 283};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(f.records[at].word(i), words[i]) << i;
  EXPECT_EQ(f.records[at + 3].function, kWmfDeleteObject);  // the red brush, once done
}

TEST_F(PolygonFill, SvgAndPdfFillBetweenTheGroupsOfLines) {
  EXPECT_NE(session("SVG", "stylus.svg")
                .find("<path d=\"M10 10L20 10\"/>\n</g>\n"
                      "<path d=\"M100 200L300 200 200 50Z\" fill=\"#ff0000\" stroke=\"none\"/>\n"
                      "<g stroke=\"#ff0000\" stroke-width=\"2.69\">\n<path d=\"M30 10L40 10\"/>\n"),
            std::string::npos);
  const std::string pdf = session("PDF", "stylus.pdf");
  const std::size_t data = pdf.find("stream\n") + 7;
  std::string text(1 << 16, '\0');
  uLongf size = text.size();
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(text.data()), &size,
                       reinterpret_cast<const Bytef*>(pdf.data() + data), pdf.size() - data),
            Z_OK);
  text.resize(size);
  EXPECT_NE(text.find("10 10 m\n20 10 l\nS\n1 0 0 rg\n100 200 m\n300 200 l\n200 50 l\nh f\n"
                      "1 0 0 RG 2.69 w\n30 10 m\n40 10 l\nS\n"),
            std::string::npos)
      << text;
}

// The same polygon of pixels paints the same pixels in the raster and in a screen window.
TEST(PolygonPixels, RasterAndScreenWindowPaintTheSamePixels) {
  const int x[5] = {2, 40, 40, 20, 2}, y[5] = {2, 2, 30, 12, 30};  // a notch from below
  VirtualRaster v;
  int w = 64, h = 64;
  v.qqvini(2969, 2099, w, h, 1);
  v.qqvclr(9);
  v.qqvpol(x, y, 5);
  HeadlessWindowSystem ws;
  const WindowId id = ws.create_window({0, 0, 100, 100}, "t", kBlack);
  const Point pts[5] = {{2, 2}, {40, 2}, {40, 30}, {20, 12}, {2, 30}};
  ws.fill_polygon(id, pts, 5, kWhite);
  const std::vector<Rgb> px = ws.read_pixels(id, 64, 64);
  std::set<std::pair<int, int>> raster, screen;
  for (int r = 0; r < 64; ++r) {
    for (int c = 0; c < 64; ++c) {
      if (v.row(r)[c] == 9) raster.insert({c, r});
      if (px[static_cast<std::size_t>(r) * 64 + c] == kWhite) screen.insert({c, r});
    }
  }
  EXPECT_EQ(raster, screen);
  for (auto [c, r, in] : {std::tuple{8, 20, true}, {35, 20, true}, {20, 20, false}, {20, 8, true}})
    EXPECT_EQ(raster.count({c, r}) == 1, in) << c << ", " << r;
}
