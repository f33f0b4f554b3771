// The example program energy_curve on the raster devices: the PNG, TIFF and raw image files
// that the session end writes, read by real readers (pngcheck, tiffinfo, tiffdump, and
// netpbm's decoders) and probed where the axis system puts frame, labels and the curve.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "state/color_tables.h"
#include "support/command.h"
#include "support/energy_picture.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

namespace {

// Pixels per point on the default page: min(852 / 2969, 602 / 2099).
const PixelMap kRasterMap = PixelMap::scaled(602.0 / 2099.0);

class RasterImages : public ::testing::Test {
 protected:
  // Draws the picture once on each device into one scratch folder.
  static void SetUpTestSuite() {
    scratch_ = new ScratchDir();
    const std::string exe = std::string(STYLUS_BINARY_DIR) + "/examples/energy_curve";
    for (const char* device : {"PNG", "TIFF", "IMAG"}) {
      const CommandResult r = run_command("'" + exe + "' " + device);
      status_ += r.status != 0 ? 1 : 0;
      output_ += r.output;
    }
  }
  static void TearDownTestSuite() {
    delete scratch_;
    scratch_ = nullptr;
  }
  void SetUp() override {
    ASSERT_EQ(status_, 0) << output_;
    points_ = result_points(output_);
    ASSERT_EQ(points_.size(), 3u * 59u);
    points_.resize(59);
  }
  // Runs a reader; its standard error goes to err.
  static CommandResult reader(const std::string& command, std::string& err) {
    const CommandResult r = run_command(command + " 2>err.txt");
    err = read_file("err.txt");
    return r;
  }
  static RgbImage decoded(const std::string& command) {
    std::string err;
    EXPECT_EQ(reader(command + " >decoded.ppm", err).status, 0) << err;
    RgbImage img;
    EXPECT_TRUE(img.load_ppm("decoded.ppm")) << command;
    return img;
  }

  static ScratchDir* scratch_;
  static int status_;
  static std::string output_;
  std::vector<ResultPoint> points_;
};
ScratchDir* RasterImages::scratch_ = nullptr;
int RasterImages::status_ = 0;
std::string RasterImages::output_;

TEST_F(RasterImages, ReadersAcceptTheFiles) {
  EXPECT_EQ(read_file("stylus.img").size(), 516248u);
  EXPECT_EQ(read_file("stylus.img").substr(0, 20), "!Bitmap STYLUS VIRT ");
  EXPECT_EQ(read_file("stylus.tif").size(), 519659u);
  std::string err;
  for (const char* command : {"tiffinfo -D stylus.tif", "tiffdump stylus.tif"}) {
    const CommandResult r = reader(command, err);
    EXPECT_EQ(r.status, 0) << command << "\n" << r.output;
    EXPECT_EQ(err, "") << command;
  }
  const CommandResult png = run_command("pngcheck -v stylus.png");
  EXPECT_EQ(png.status, 0) << png.output;
  EXPECT_NE(png.output.find("chunk PLTE at offset 0x00025, length 768"), std::string::npos)
      << png.output;
  EXPECT_NE(png.output.find("853 x 603 image, 8-bit palette"), std::string::npos) << png.output;
}

TEST_F(RasterImages, PngAndTiffShowTheAxisSystemAndTheCurve) {
  for (const char* command : {"pngtopnm stylus.png", "tifftopnm stylus.tif"}) {
    SCOPED_TRACE(command);
    const RgbImage img = decoded(command);
    ASSERT_EQ(img.width(), 853);
    ASSERT_EQ(img.height(), 603);
    const EnergyPicture picture(img, kRasterMap, light);
    picture.expect_axis_system();
    picture.expect_curve(points_);
  }
}

TEST_F(RasterImages, RawImageEqualsThePngPixels) {
  const RgbImage png = decoded("pngtopnm stylus.png");
  const std::string img = read_file("stylus.img");
  ASSERT_EQ(img.size(), 516248u);
  int table[256];
  stylus::load_color_table(stylus::kTableRainbow, table, false);
  int differ = 0, red = 0;
  for (int y = 0; y < 603; ++y)
    for (int x = 0; x < 853; ++x) {
      const int e = table[static_cast<unsigned char>(img[80 + 856 * y + x])];
      const Rgb c{stylus::rgb_red(e), stylus::rgb_green(e), stylus::rgb_blue(e)};
      differ += c == png.at(x, y) ? 0 : 1;
      red += ::red(c) ? 1 : 0;
    }
  EXPECT_EQ(differ, 0);
  EXPECT_GT(red, 1000);
}

}  // namespace
