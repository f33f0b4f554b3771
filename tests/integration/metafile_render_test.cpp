// The qh2 picture of examples/energy_curve on the two metafile devices, read back: the CGM
// walked element by element and imported by LibreOffice, the GKSL records read and drawn
// by a small reader of this test; both checked where the PostScript device puts frame,
// labels, titles and the red curve.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "devices/byte_order.h"
#include "state/color_tables.h"
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
// boundary. A malformed element fails the test. end receives the offset after END
// METAFILE.
std::vector<Element> walk_cgm(const std::string& bytes, std::size_t& end) {
  std::vector<Element> elements;
  std::size_t at = 0;
  while (at + 2 <= bytes.size()) {
    const std::uint32_t word = stylus::get_u16_be(bytes, at);
    at += 2;
    Element e{static_cast<int>(word >> 12), static_cast<int>(word >> 5 & 0x7F), ""};
    std::size_t len = word & 0x1F;
    if (len == 31) {
      const std::uint32_t long_len = stylus::get_u16_be(bytes, at);
      at += 2;
      EXPECT_EQ(long_len & 0x8000u, 0u) << "partitioned element at " << at;
      len = long_len & 0x7FFF;
    }
    if (at + len > bytes.size()) {
      ADD_FAILURE() << "element " << e.cls << "/" << e.id << " runs past the end";
      break;
    }
    e.params = bytes.substr(at, len);
    at += len + len % 2;
    elements.push_back(e);
    if (e.cls == 0 && e.id == 2) break;  // END METAFILE
  }
  end = at;
  return elements;
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
  ASSERT_FALSE(bytes.empty());

  const std::string start = std::string("\x00\x3F\x00\x0B\x0A", 5) + "stylus.cgm" +
                            std::string("\x00\x10\x22\x00\x01", 5);
  EXPECT_EQ(bytes.substr(0, start.size()), start);
  EXPECT_EQ(bytes.size() % 80, 0u);
  std::size_t end = 0;
  const std::vector<Element> elements = walk_cgm(bytes, end);
  EXPECT_LT(bytes.size() - end, 80u);
  EXPECT_EQ(bytes.find_first_not_of(' ', end), std::string::npos) << "blanks after the end";

  // The metafile and picture start, the picture's colour right after BEGIN PICTURE BODY,
  // then only polylines and colours, and the two end elements.
  const std::vector<std::pair<int, int>> head = {{0, 1}, {1, 1}, {1, 2}, {1, 11}, {0, 3},
                                                 {2, 2}, {2, 6}, {2, 7}, {0, 4},  {5, 4}};
  ASSERT_GT(elements.size(), head.size() + 2);
  for (std::size_t i = 0; i < head.size(); ++i) {
    EXPECT_EQ(std::make_pair(elements[i].cls, elements[i].id), head[i]) << "element " << i;
  }
  EXPECT_EQ(elements[6].params, std::string("\x00\x00\x00\x00\x17\x32\x10\x66", 8));
  std::vector<std::string> colours;
  int polylines = 0;
  for (std::size_t i = 9; i + 2 < elements.size(); ++i) {
    const Element& e = elements[i];
    if (e.cls == 5 && e.id == 4) {
      colours.push_back(e.params);
      continue;
    }
    ASSERT_TRUE(e.cls == 4 && e.id == 1) << "element " << i << ": " << e.cls << "/" << e.id;
    ++polylines;
    ASSERT_EQ(e.params.size() % 4, 0u);
    for (std::size_t p = 0; p < e.params.size(); p += 4) {
      EXPECT_LE(stylus::get_u16_be(e.params, p), 5938u);
      EXPECT_LE(stylus::get_u16_be(e.params, p + 2), 4198u);
    }
  }
  EXPECT_GT(polylines, 50);
  // Black for frame and text, then red for the curve (the pad byte is no parameter).
  EXPECT_EQ(colours, (std::vector<std::string>{std::string("\x00\x00\x00", 3),
                                               std::string("\xFF\x00\x00", 3)}));
  EXPECT_EQ(elements[elements.size() - 2].cls * 100 + elements[elements.size() - 2].id, 5);
  EXPECT_EQ(elements.back().cls * 100 + elements.back().id, 2);

  const std::string profile = "-env:UserInstallation=file://" + dir.path().string() + "/lo";
  const std::string soffice = "soffice --headless '" + profile + "' --convert-to ";
  const CommandResult imported = run_command(soffice + "fodp stylus.cgm");
  std::string flat = read_file("stylus.fodp");
  ASSERT_FALSE(flat.empty()) << "LibreOffice did not import the CGM:\n" << imported.output;
  const std::regex slide(R"(fo:page-width="28cm" fo:page-height="15.75cm")");
  ASSERT_TRUE(std::regex_search(flat, slide)) << "the slide is no longer 28 x 15.75 cm";
  flat = std::regex_replace(flat, slide, R"(fo:page-width="28cm" fo:page-height="21cm")");
  flat = std::regex_replace(flat, std::regex(R"(draw:fill="solid")"), R"(draw:fill="none")");
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

// Draws the records of a GKSL file: after the header line, 10-character fields. A pair of
// coordinates (0..1, y up) is a point, drawn or moved to by the pen field that follows it
// or else by the last pen field; "99" fields and a field 9 + r select colour 89 k + r
// (256 is colour 0); " 9" ends the drawing. Lines are one pixel wide, colours those of the
// rainbow table that the session loads, on black paper as on the screen.
class GkslReader {
 public:
  GkslReader(int width, int height, double pixels_per_unit)
      : image_(width, height, {0, 0, 0}), scale_(pixels_per_unit) {
    image_.set_outside({0, 0, 0});
    stylus::load_color_table(stylus::kTableRainbow, table_, false);
  }

  void read(const std::vector<std::string>& records) {
    std::vector<double> fields;
    for (std::size_t i = 1; i < records.size(); ++i) {
      const std::string& r = records[i];
      EXPECT_LE(r.size(), 80u) << "record " << i;
      ASSERT_EQ(r.size() % 10, 0u) << "record " << i << ": " << r;
      for (std::size_t at = 0; at < r.size(); at += 10) {
        fields.push_back(std::strtod(r.substr(at, 10).c_str(), nullptr));
      }
    }
    int steps = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const double v = fields[i];
      if (v == 9.0) {
        ended_ = true;
        EXPECT_EQ(i + 1, fields.size()) << "fields after the end";
        return;
      }
      if (v == 99.0) {
        ++steps;
      } else if (v >= 10.0) {
        set_colour((89 * steps + static_cast<int>(v) - 9) % 256);
        steps = 0;
      } else if (v == 2.0 || v == 3.0) {
        ADD_FAILURE() << "pen field without a point, field " << i;
      } else {
        ASSERT_LT(i + 1, fields.size());
        const double x = v, y = fields[++i];
        EXPECT_TRUE(x >= 0.0 && x <= 1.0 && y >= 0.0 && y <= 1.0) << x << " " << y;
        if (i + 1 < fields.size() && (fields[i + 1] == 2.0 || fields[i + 1] == 3.0)) {
          pen_ = static_cast<int>(fields[++i]);
        }
        ASSERT_NE(pen_, 0) << "a point before the first pen field";
        if (pen_ == 2) line(last_x_, last_y_, x, y);
        last_x_ = x;
        last_y_ = y;
      }
    }
  }

  const RgbImage& image() const { return image_; }
  bool ended() const { return ended_; }

 private:
  void set_colour(int n) {
    colour_ = {stylus::rgb_red(table_[n]), stylus::rgb_green(table_[n]),
               stylus::rgb_blue(table_[n])};
  }
  // Pixel (column, row) of device point (x, y); the page is 2099 / 2969 units high.
  double col(double x) const { return x * scale_; }
  double row(double y) const { return (2099.0 / 2969.0 - y) * scale_; }
  void line(double x1, double y1, double x2, double y2) {
    const double c1 = col(x1), r1 = row(y1), c2 = col(x2), r2 = row(y2);
    const int n = static_cast<int>(std::ceil(std::max(std::fabs(c2 - c1), std::fabs(r2 - r1))));
    for (int k = 0; k <= n; ++k) {
      const double t = n == 0 ? 0.0 : static_cast<double>(k) / n;
      image_.set(static_cast<int>(std::floor(c1 + t * (c2 - c1))),
                 static_cast<int>(std::floor(r1 + t * (r2 - r1))), colour_);
    }
  }

  RgbImage image_;
  double scale_;
  int table_[256] = {};
  Rgb colour_{255, 255, 255};
  int pen_ = 0;
  double last_x_ = 0.0, last_y_ = 0.0;
  bool ended_ = false;
};

TEST(MetafileRender, GkslRecordsDrawThePictureWherePostScriptPutsIt) {
  ScratchDir dir;
  const std::vector<ResultPoint> points = run_example("GKSL");
  ASSERT_EQ(points.size(), 59u);
  const std::vector<std::string> records = read_lines("stylus.met");
  ASSERT_GT(records.size(), 100u);
  EXPECT_EQ(records[0], "      29.7      21.0");
  // One pixel per page point: device unit 1 is the page width, 2969 points.
  constexpr double kPixelsPerPoint = 1.0;
  GkslReader reader(2970, 2100, 2969.0 * kPixelsPerPoint);
  ASSERT_NO_FATAL_FAILURE(reader.read(records));
  EXPECT_TRUE(reader.ended());
  const EnergyPicture picture(reader.image(), PixelMap::scaled(kPixelsPerPoint), light);
  picture.expect_axis_system();
  picture.expect_curve(points);
}

}  // namespace
