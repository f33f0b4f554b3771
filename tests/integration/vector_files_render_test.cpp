// The qh2 picture (examples/energy_curve) in the vector files, read back by real readers:
// the SVG parsed by xmllint and rendered by rsvg-convert, the PDF checked by qpdf and
// rendered by pdftoppm. Both renders must show frame, labels, titles and the red curve
// where the axis system puts them, on the page in its own size and orientation.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/command.h"
#include "support/energy_picture.h"
#include "support/scratch_dir.h"

namespace {

constexpr int kDpi = 150;
// A page point is 0.1 mm: 254 points to the inch.
const PixelMap kPageMap = PixelMap::scaled(kDpi / 254.0);

class VectorFileReaders : public ::testing::Test {
 protected:
  // Runs the example on a device in the scratch folder; keeps its result points and checks
  // that the protocol names the device and its file.
  void draw(const std::string& device, const std::string& file) {
    const std::string exe = std::string(STYLUS_BINARY_DIR) + "/examples/energy_curve";
    ASSERT_TRUE(std::ifstream(exe).good()) << "build the example first: " << exe;
    const CommandResult program = run_command("'" + exe + "' " + device);
    ASSERT_EQ(program.status, 0) << program.output;
    EXPECT_NE(program.output.find("Fileformat:  " + device + "  <<"), std::string::npos);
    EXPECT_NE(program.output.find(" <<  Metafile: " + file + " "), std::string::npos);
    points_ = result_points(program.output);
    ASSERT_EQ(points_.size(), 59u);
  }
  // The rendered page: A4 landscape at kDpi, checked as the qh2 picture on white paper.
  void check_picture() {
    RgbImage image;
    ASSERT_TRUE(image.load_ppm("page.ppm"));
    EXPECT_NEAR(image.width(), 297 / 25.4 * kDpi, 1.0);
    EXPECT_NEAR(image.height(), 210 / 25.4 * kDpi, 1.0);
    const EnergyPicture picture(image, kPageMap, dark);
    picture.expect_axis_system();
    picture.expect_curve(points_);
  }

  ScratchDir scratch_;
  std::vector<ResultPoint> points_;
};

TEST_F(VectorFileReaders, SvgParsedByXmllintAndRenderedByRsvg) {
  ASSERT_NO_FATAL_FAILURE(draw("SVG", "stylus.svg"));
  const CommandResult parse = run_command("xmllint --noout stylus.svg");
  ASSERT_EQ(parse.status, 0) << parse.output;
  EXPECT_EQ(parse.output, "");
  // The parsed tree: the page in page points, and the curve one path in a red group.
  const auto xpath = [](const std::string& expr) {
    return run_command("xmllint --xpath '" + expr + "' stylus.svg").output;
  };
  EXPECT_EQ(xpath("string(/*/@viewBox)"), "0 0 2970 2100\n");
  EXPECT_EQ(xpath("count(//*[@stroke=\"#ff0000\"]/*[local-name()=\"path\"])"), "1\n");
  EXPECT_EQ(xpath("string(//*[@stroke=\"#ff0000\"]/@stroke-width)"), "4.31\n");

  const CommandResult render =
      run_command("rsvg-convert --dpi-x " + std::to_string(kDpi) + " --dpi-y " +
                  std::to_string(kDpi) + " -o page.png stylus.svg && pngtopnm page.png > page.ppm");
  ASSERT_EQ(render.status, 0) << render.output;
  check_picture();
}

TEST_F(VectorFileReaders, PdfCheckedByQpdfAndRenderedByPoppler) {
  ASSERT_NO_FATAL_FAILURE(draw("PDF", "stylus.pdf"));
  const CommandResult check = run_command("qpdf --check stylus.pdf");
  ASSERT_EQ(check.status, 0) << check.output;
  EXPECT_NE(check.output.find("No syntax or stream encoding errors found"), std::string::npos)
      << check.output;
  EXPECT_EQ(check.output.find("WARNING"), std::string::npos) << check.output;

  const CommandResult render =
      run_command("pdftoppm -r " + std::to_string(kDpi) + " -singlefile stylus.pdf page");
  ASSERT_EQ(render.status, 0) << render.output;
  EXPECT_EQ(render.output, "");  // poppler reports syntax errors here
  check_picture();
}

}  // namespace
