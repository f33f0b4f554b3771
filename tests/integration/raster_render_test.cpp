// The example program energy_curve on the raster devices: the PNG, TIFF and raw image files
// of the session end, read by real readers (pngcheck, tiffinfo, tiffdump and netpbm's
// decoders) and probed where the axis system puts frame, labels and the curve.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/byte_order.h"
#include "records/color_tables.h"
#include "support/command.h"
#include "support/energy_picture.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

namespace {

class RasterImages : public ::testing::Test {
 protected:
  // Draws the picture once on each device, into one scratch folder.
  static void SetUpTestSuite() {
    scratch_ = new ScratchDir();
    const std::string exe = std::string(STYLUS_BINARY_DIR) + "/examples/energy_curve";
    for (const char* device : {"PNG", "TIFF", "IMAG"}) {
      const CommandResult r = run_command("'" + exe + "' " + device);
      failed_ += r.status != 0 ? 1 : 0;
      output_ += r.output;
    }
  }
  static void TearDownTestSuite() { delete scratch_; }
  void SetUp() override { ASSERT_EQ(failed_, 0) << output_; }

  // A reader's exit status, its standard error in err.
  static int reader(const std::string& command, std::string& err) {
    const int status = run_command(command + " 2>err.txt").status;
    err = read_file("err.txt");
    return status;
  }
  static RgbImage decoded(const std::string& command) {
    std::string err;
    EXPECT_EQ(reader(command + " >decoded.ppm", err), 0) << err;
    RgbImage img;
    EXPECT_TRUE(img.load_ppm("decoded.ppm")) << command;
    return img;
  }

  static inline ScratchDir* scratch_ = nullptr;
  static inline int failed_ = 0;
  static inline std::string output_;
};

TEST_F(RasterImages, ReadersAcceptTheFiles) {
  EXPECT_EQ(read_file("stylus.img").size(), 516248u);
  EXPECT_EQ(read_file("stylus.tif").size(), 519659u);
  EXPECT_EQ(stylus::get_u32_le(read_file("stylus.tif"), 146), 5300u);  // the first row
  std::string err;
  for (const char* command :
       {"tiffinfo -D stylus.tif >/dev/null", "tiffdump stylus.tif >/dev/null"}) {
    EXPECT_EQ(reader(command, err), 0) << command;
    EXPECT_EQ(err, "") << command;
  }
  const CommandResult png = run_command("pngcheck -v stylus.png");
  EXPECT_EQ(png.status, 0) << png.output;
  EXPECT_NE(png.output.find("853 x 603 image, 8-bit palette"), std::string::npos) << png.output;
  EXPECT_NE(png.output.find("chunk PLTE at offset 0x00025, length 768"), std::string::npos);
}

TEST_F(RasterImages, PngAndTiffShowTheAxisSystemAndTheCurve) {
  const std::vector<ResultPoint> all = result_points(output_);
  ASSERT_EQ(all.size(), 3u * 59u);
  const std::vector<ResultPoint> points(all.begin(), all.begin() + 59);
  for (const char* command : {"pngtopnm stylus.png", "tifftopnm stylus.tif"}) {
    SCOPED_TRACE(command);
    const RgbImage img = decoded(command);
    ASSERT_EQ(img.width() * 1000 + img.height(), 853603);
    // min(852 / 2969, 602 / 2099) pixels per point.
    const EnergyPicture picture(img, PixelMap::scaled(602.0 / 2099.0), light);
    picture.expect_axis_system();
    picture.expect_curve(points);
  }
}

TEST_F(RasterImages, RawImageEqualsThePngPixels) {
  const RgbImage png = decoded("pngtopnm stylus.png");
  const std::string img = read_file("stylus.img");
  ASSERT_EQ(img.size(), 516248u);
  int table[256];
  stylus::load_color_table(stylus::kTableRainbow, table, false);
  int differ = 0, reds = 0;
  for (int y = 0; y < 603; ++y)
    for (int x = 0; x < 853; ++x) {
      const int e = table[static_cast<unsigned char>(img[80 + 856 * y + x])];
      const Rgb c{stylus::rgb_red(e), stylus::rgb_green(e), stylus::rgb_blue(e)};
      differ += c == png.at(x, y) ? 0 : 1;
      reds += red(c) ? 1 : 0;
    }
  EXPECT_EQ(differ, 0);
  EXPECT_GT(reds, 1000);
}

}  // namespace
