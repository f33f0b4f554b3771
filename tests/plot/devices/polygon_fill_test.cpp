// Filled polygons on the devices with a fill of their own: the PostScript tokens, the CGM
// elements, the Windows metafile records, the SVG path and the PDF operators of one red
// triangle, and the pixels that the raster and the screen windows paint alike.
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
#include "support/state_fixture.h"
#include "support/wmf_records.h"
#include "stylus.h"

using namespace stylus;

namespace {

// The triangle (100, 200), (300, 200), (200, 50) in page points.
const float kX[3] = {100.0f, 300.0f, 200.0f};
const float kY[3] = {200.0f, 200.0f, 50.0f};

class PolygonFill : public StateTest {
 protected:
  // A session on the device that draws a line, fills the triangle in red and draws
  // another line; returns the file's bytes.
  static std::string session(const char* device, const char* file) {
    metafl(device);
    disini();
    xmove(10.0f, 10.0f);
    xdraw(20.0f, 10.0f);
    color("RED");
    fill_polygon(kX, kY, 3);
    xmove(30.0f, 10.0f);
    xdraw(40.0f, 10.0f);
    disfin();
    return read_file(file);
  }
};

using Pixels = std::set<std::pair<int, int>>;

}  // namespace

TEST_F(PolygonFill, PostScriptClosesAndFillsAPathOfItsOwn) {
  const std::string ps = session("POST", "stylus.psc");
  // Landscape page on the portrait sheet: device x = page y, device y = page x, times 13/7;
  // red is a grey on this device. The tokens run on in records of at most 80 characters.
  EXPECT_NE(ps.find("0 0 0 f 19 19 u 19 37 d p 230 230 230 f 371 186 u 371 557 d 93 371 d "
                    "closepath \nfill 19 56 u 19 74 d p showpage \n"),
            std::string::npos)
      << ps.substr(ps.size() - 300);
}

TEST_F(PolygonFill, CgmPolygonWithSolidInteriorAndFillColour) {
  const std::string cgm = session("CGM", "stylus.cgm");
  // INTERIOR STYLE solid, FILL COLOUR red, POLYGON of three VDC points (half points, y up).
  const std::string elements = std::string("\x52\xC2\x00\x01", 4) +
                               std::string("\x52\xE3\xFF\x00\x00\x00", 6) +
                               std::string("\x40\xFF\x00\x0C", 4) +
                               std::string("\x00\xC8\x0E\xD6\x02\x58\x0E\xD6\x01\x90\x10\x02", 12);
  EXPECT_NE(cgm.find(elements), std::string::npos);
}

TEST_F(PolygonFill, WindowsMetafilePolygonWithABrushOfThePensColour) {
  const WmfFile f = read_wmf(session("WMF", "stylus.wmf"));
  ASSERT_EQ(f.error, "");
  std::size_t at = 0;
  while (at < f.records.size() && f.records[at].function != kWmfPolygon) ++at;
  ASSERT_LT(at, f.records.size());
  ASSERT_GE(at, 2u);
  const WmfRecord& brush = f.records[at - 2];
  EXPECT_EQ(brush.function, kWmfCreateBrushIndirect);
  EXPECT_EQ(brush.params.substr(2, 4), std::string("\xFF\x00\x00\x00", 4));
  EXPECT_EQ(f.records[at - 1].function, kWmfSelectObject);
  const WmfRecord& poly = f.records[at];
  ASSERT_EQ(poly.params.size(), 14u);
  // Twips (1440 / 254 per point), x before y.
  const int words[7] = {3, 567, 1134, 1701, 1134, 1134, 283};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(poly.word(static_cast<std::size_t>(i)), words[i]) << i;
  // The brush it replaced (the player's white one, recorded now) is selected again and the
  // red one deleted.
  EXPECT_EQ(f.records[at + 1].function, kWmfCreateBrushIndirect);
  EXPECT_EQ(f.records[at + 2].function, kWmfSelectObject);
  EXPECT_EQ(f.records[at + 3].function, kWmfDeleteObject);
}

TEST_F(PolygonFill, SvgPathFilledBetweenTheGroupsOfLines) {
  const std::string svg = session("SVG", "stylus.svg");
  EXPECT_NE(svg.find("<path d=\"M10 10L20 10\"/>\n</g>\n"
                     "<path d=\"M100 200L300 200 200 50Z\" fill=\"#ff0000\" stroke=\"none\"/>\n"
                     "<g stroke=\"#ff0000\" stroke-width=\"2.69\">\n<path d=\"M30 10L40 10\"/>\n"),
            std::string::npos)
      << svg;
}

TEST_F(PolygonFill, PdfStrokesTheLinesBeforeAndFillsThePath) {
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

TEST_F(PolygonFill, RasterFillsThePixelsInside) {
  metafl("VIRT");
  disini();
  color("RED");
  const int red = g_ivray.cur_color;
  fill_polygon(kX, kY, 3);
  IndexedImage image;
  ASSERT_TRUE(current_driver()->picture(image));
  const auto at = [&](float x, float y) {
    const int c = static_cast<int>(x * g_xvray.page_scale + 0.5f);
    const int r = static_cast<int>(y * g_xvray.page_scale + 0.5f);
    return image.pixels[static_cast<std::size_t>(r) * image.width + c];
  };
  EXPECT_EQ(at(200.0f, 150.0f), red);  // inside
  EXPECT_EQ(at(120.0f, 190.0f), red);  // near the left corner
  EXPECT_NE(at(120.0f, 100.0f), red);  // left of the slanted edge
  EXPECT_NE(at(200.0f, 230.0f), red);  // below the base
  disfin();
}

// The raster devices and the screen windows share the rule: the same polygon of pixels
// paints the same pixels in both.
TEST(PolygonPixels, RasterAndScreenWindowPaintTheSamePixels) {
  const int x[5] = {2, 40, 40, 20, 2}, y[5] = {2, 2, 30, 12, 30};
  VirtualRaster v;
  int w = 64, h = 64;
  v.qqvini(2969, 2099, w, h, 1);
  v.qqvclr(9);
  v.qqvpol(x, y, 5);
  HeadlessWindowSystem ws;
  const WindowId id = ws.create_window({0, 0, 100, 100}, "t", kBlack);
  Point pts[5];
  for (int i = 0; i < 5; ++i) pts[i] = {x[i], y[i]};
  ws.fill_polygon(id, pts, 5, kWhite);
  const std::vector<Rgb> px = ws.read_pixels(id, 64, 64);
  Pixels raster, screen;
  for (int r = 0; r < 64; ++r) {
    for (int c = 0; c < 64; ++c) {
      if (v.row(r)[c] == 9) raster.insert({c, r});
      if (px[static_cast<std::size_t>(r) * 64 + c] == kWhite) screen.insert({c, r});
    }
  }
  EXPECT_EQ(raster, screen);
  // A notch from the bottom up to (20, 12): row 20 is inside left and right of it only.
  EXPECT_TRUE(raster.count({8, 20}));
  EXPECT_TRUE(raster.count({35, 20}));
  EXPECT_FALSE(raster.count({20, 20}));
  EXPECT_TRUE(raster.count({20, 8}));
  EXPECT_GT(raster.size(), 300u);
}
