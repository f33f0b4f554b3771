// The qh2 picture of examples/energy_curve on the two metafile devices, read back: the CGM
// walked element by element and imported by LibreOffice, the GKSL records read and drawn
// by a small reader of this test; both checked where the PostScript device puts frame,
// labels, titles and the red curve.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "devices/byte_order.h"
#include "records/color_tables.h"
#include "support/command.h"
#include "support/energy_picture.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

namespace {

// Runs the example on a device in the current folder; returns its result points.
std::vector<ResultPoint> run_example(const std::string& device) {
  const std::string exe = std::string(STYLUS_BINARY_DIR) + "/examples/energy_curve";
  EXPECT_TRUE(file_exists(exe)) << "build the example first: " << exe;
  const CommandResult run = run_command("'" + exe + "' " + device);
  EXPECT_EQ(run.status, 0) << run.output;
  return result_points(run.output);
}

// ---- CGM ----

struct Element {
  int cls, id;
  std::string params;
};

// The elements of a binary CGM up to END METAFILE: header word, the length word of the
// long form, the parameters and the pad byte that keeps every element on a 16-bit
// boundary. A malformed element fails the test; end receives the offset after the last.
std::vector<Element> walk_cgm(const std::string& bytes, std::size_t& end) {
  std::vector<Element> elements;
  std::size_t at = 0;
  while (at + 2 <= bytes.size()) {
    const std::uint32_t word = stylus::get_u16_be(bytes, at);
    std::size_t len = word & 0x1F;
    at += 2;
    if (len == 31) {
      len = stylus::get_u16_be(bytes, at);
      at += 2;
      EXPECT_LT(len, 0x8000u) << "partitioned element at " << at;
    }
    if (at + len > bytes.size()) {
      ADD_FAILURE() << "element at " << at << " runs past the end";
      break;
    }
    elements.push_back(
        {static_cast<int>(word >> 12), static_cast<int>(word >> 5 & 0x7F), bytes.substr(at, len)});
    at += len + len % 2;
    if (word == 0x0040) break;  // END METAFILE
  }
  end = at;
  return elements;
}

// Replaces every from by to; returns how many.
int replace_all(std::string& text, const std::string& from, const std::string& to) {
  int n = 0;
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
    ++n;
  }
  return n;
}

// LibreOffice imports a CGM into Impress: the VDC extent is scaled to the slide's width
// (28 cm: one page point, two VDC units, becomes 280 mm / 2969) with the upper-left
// corner of the page on the slide's upper-left corner, y turned downwards. The 16:9 slide
// is 15.75 cm high, so the lower 4 cm of an A4-landscape page hang below it and the PDF
// export would cut them off. The test therefore saves the import as a flat OpenDocument
// file, makes its slide 21 cm high, and turns off the default area fill that the
// OpenDocument round trip gives to the closed outlines (the import itself draws them
// unfilled), before the PDF export and pdftoppm make a raster of it.
TEST(MetafileRender, CgmFileIsWellFormedAndLibreOfficeShowsThePicture) {
  ScratchDir dir;
  const std::vector<ResultPoint> points = run_example("CGM");
  ASSERT_EQ(points.size(), 59u);
  const std::string bytes = read_file("stylus.cgm");
  const std::string start = std::string("\x00\x3F\x00\x0B\x0A", 5) + "stylus.cgm" +
                            std::string("\x00\x10\x22\x00\x01", 5);
  EXPECT_EQ(bytes.substr(0, start.size()), start);
  EXPECT_EQ(bytes.size() % 80, 0u);
  std::size_t end = 0;
  const std::vector<Element> elements = walk_cgm(bytes, end);
  EXPECT_LT(bytes.size() - end, 80u);
  EXPECT_EQ(bytes.find_first_not_of(' ', end), std::string::npos) << "blanks after the end";

  // The metafile and picture start with the picture's colour, then polylines inside the
  // VDC extent and colours, then END PICTURE and END METAFILE.
  const std::vector<std::pair<int, int>> head = {{0, 1}, {1, 1}, {1, 2}, {1, 11}, {0, 3},
                                                 {2, 2}, {2, 6}, {2, 7}, {0, 4},  {5, 4}};
  ASSERT_GT(elements.size(), head.size() + 2);
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const std::pair<int, int> e{elements[i].cls, elements[i].id};
    if (i < head.size()) {
      EXPECT_EQ(e, head[i]) << "element " << i;
    } else if (i + 2 < elements.size()) {
      EXPECT_TRUE(e == std::make_pair(4, 1) || e == std::make_pair(5, 4)) << "element " << i;
    } else {
      EXPECT_EQ(e, i + 1 < elements.size() ? std::make_pair(0, 5) : std::make_pair(0, 2));
    }
    for (std::size_t p = 0; e.first == 4 && p < elements[i].params.size(); p += 4) {
      EXPECT_LE(stylus::get_u16_be(elements[i].params, p), 5938u);
      EXPECT_LE(stylus::get_u16_be(elements[i].params, p + 2), 4198u);
    }
  }
  EXPECT_EQ(elements[6].params, std::string("\x00\x00\x00\x00\x17\x32\x10\x66", 8));
  EXPECT_EQ(elements[9].params, std::string(3, '\0'));  // black

  const std::string profile = "-env:UserInstallation=file://" + dir.path().string() + "/lo";
  const std::string soffice = "soffice --headless '" + profile + "' --convert-to ";
  const CommandResult imported = run_command(soffice + "fodp stylus.cgm");
  std::string flat = read_file("stylus.fodp");
  ASSERT_FALSE(flat.empty()) << "LibreOffice did not import the CGM:\n" << imported.output;
  ASSERT_EQ(replace_all(flat, R"(fo:page-width="28cm" fo:page-height="15.75cm")",
                        R"(fo:page-width="28cm" fo:page-height="21cm")"),
            1)
      << "the slide is no longer 28 x 15.75 cm";
  replace_all(flat, R"(draw:fill="solid")", R"(draw:fill="none")");
  { std::ofstream("tall.fodp", std::ios::binary) << flat; }
  const CommandResult exported = run_command(soffice + "pdf tall.fodp");
  ASSERT_TRUE(file_exists("tall.pdf")) << exported.output;
  constexpr int kDpi = 150;
  const CommandResult raster = run_command("pdftoppm -r " + std::to_string(kDpi) +
                                           " -aaVector no -singlefile tall.pdf page");
  ASSERT_EQ(raster.status, 0) << raster.output;
  RgbImage image;
  ASSERT_TRUE(image.load_ppm("page.ppm"));
  const double pixels_per_point = 280.0 / 2969.0 / 25.4 * kDpi;
  const EnergyPicture picture(image, PixelMap::scaled(pixels_per_point), dark);
  picture.expect_axis_system();
  picture.expect_curve(points);
}

// ---- GKSL ----

// Draws the records of a GKSL file (after the header line: 10-character fields) at k
// pixels per page point. A pair of coordinates (0..1, y up) is a point, drawn or moved to
// by the pen field that follows it or else by the last one; "99" fields and a field 9 + r
// select colour 89 k + r (256 is colour 0); " 9" ends the file. Lines one pixel wide in
// the colours of the session's rainbow table, on black paper as on the screen.
RgbImage draw_gksl(const std::vector<std::string>& records, double k) {
  std::vector<double> f;
  for (std::size_t i = 1; i < records.size(); ++i) {
    EXPECT_LE(records[i].size(), 80u) << "record " << i;
    EXPECT_EQ(records[i].size() % 10, 0u) << "record " << i;
    for (std::size_t at = 0; at < records[i].size(); at += 10)
      f.push_back(std::strtod(records[i].substr(at, 10).c_str(), nullptr));
  }
  int table[256];
  stylus::load_color_table(stylus::kTableRainbow, table, false);
  RgbImage img(2970, 2100, {0, 0, 0});
  img.set_outside({0, 0, 0});
  Rgb colour{255, 255, 255};
  int steps = 0, pen = 0;
  double cx = 0.0, cy = 0.0;  // the last point, in pixels
  for (std::size_t i = 0; i < f.size(); ++i) {
    if (f[i] == 9.0) {
      EXPECT_EQ(i + 1, f.size()) << "fields after the end";
      return img;
    }
    if (f[i] == 99.0) {
      ++steps;
    } else if (f[i] >= 10.0) {
      const int n = (89 * steps + static_cast<int>(f[i]) - 9) % 256;
      colour = {stylus::rgb_red(table[n]), stylus::rgb_green(table[n]), stylus::rgb_blue(table[n])};
      steps = 0;
    } else if (i + 1 < f.size()) {
      const double x = f[i], y = f[++i];
      EXPECT_TRUE(x >= 0.0 && x <= 1.0 && y >= 0.0 && y <= 1.0) << x << " " << y;
      if (i + 1 < f.size() && (f[i + 1] == 2.0 || f[i + 1] == 3.0)) pen = static_cast<int>(f[++i]);
      const double px = x * 2969.0 * k, py = (2099.0 - y * 2969.0) * k;
      const int n = static_cast<int>(std::ceil(std::max(std::fabs(px - cx), std::fabs(py - cy))));
      for (int s = 0; pen == 2 && s <= n; ++s) {
        const double t = n == 0 ? 0.0 : static_cast<double>(s) / n;
        img.set(static_cast<int>(std::floor(cx + t * (px - cx))),
                static_cast<int>(std::floor(cy + t * (py - cy))), colour);
      }
      cx = px;
      cy = py;
    }
  }
  ADD_FAILURE() << "no end field";
  return img;
}

TEST(MetafileRender, GkslRecordsDrawThePictureWherePostScriptPutsIt) {
  ScratchDir dir;
  const std::vector<ResultPoint> points = run_example("GKSL");
  ASSERT_EQ(points.size(), 59u);
  const std::vector<std::string> records = read_lines("stylus.met");
  ASSERT_GT(records.size(), 100u);
  EXPECT_EQ(records[0], "      29.7      21.0");
  const RgbImage image = draw_gksl(records, 1.0);  // one pixel per page point
  const EnergyPicture picture(image, PixelMap::scaled(1.0), light);
  picture.expect_axis_system();
  picture.expect_curve(points);
}

}  // namespace
