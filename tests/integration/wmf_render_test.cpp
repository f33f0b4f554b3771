// The example program energy_curve on the Windows metafile device, read back by real
// metafile readers: libwmf's wmf2gd draws the qh2 picture with its frame and red curve where
// they belong, and LibreOffice converts the file to PDF.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "support/command.h"
#include "support/energy_picture.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"
#include "support/wmf_records.h"

namespace {

constexpr double kTwipsPerPoint = 5.6692913;

class WmfReaders : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string exe = std::string(STYLUS_BINARY_DIR) + "/examples/energy_curve";
    ASSERT_TRUE(std::ifstream(exe).good()) << "build the example first: " << exe;
    program_ = run_command("'" + exe + "' WMF");
    ASSERT_EQ(program_.status, 0) << program_.output;
    file_ = read_wmf(read_file("stylus.wmf"));
    ASSERT_EQ(file_.error, "");
  }

  ScratchDir scratch_;
  CommandResult program_;
  WmfFile file_;
};

TEST_F(WmfReaders, LibwmfDrawsTheEnergyCurve) {
  const CommandResult gd = run_command(
      "wmf2gd --maxwidth=2969 --maxheight=2099 --maxpect -o page.png stylus.wmf "
      "&& pngtopnm page.png >page.ppm");
  ASSERT_EQ(gd.status, 0) << gd.output;
  RgbImage image;
  ASSERT_TRUE(image.load_ppm("page.ppm"));

  // libwmf shows a metafile without a placement header by the bounding box of its drawn
  // lines (both ends of every line), stretched to the size of the picture.
  int x0 = 32767, x1 = -32768, y0 = 32767, y1 = -32768, x = 0, y = 0;
  for (const WmfRecord& r : file_.records) {
    if (r.function != 0x0213 && r.function != 0x0214) continue;
    const int nx = r.word(1), ny = r.word(0);
    if (r.function == 0x0213) {
      x0 = std::min({x0, x, nx});
      x1 = std::max({x1, x, nx});
      y0 = std::min({y0, y, ny});
      y1 = std::max({y1, y, ny});
    }
    x = nx;
    y = ny;
  }
  ASSERT_LT(x0, x1);
  ASSERT_LT(y0, y1);
  const double sx = image.width() / static_cast<double>(x1 - x0);
  const double sy = image.height() / static_cast<double>(y1 - y0);
  const PixelMap map{-x0 * sx, kTwipsPerPoint * sx, 0, -y0 * sy, 0, kTwipsPerPoint * sy};

  const EnergyPicture picture(image, map, dark);
  picture.expect_axis_system();
  picture.expect_curve(result_points(program_.output));
}

TEST_F(WmfReaders, LibreOfficeConvertsItToPdf) {
  const std::string dir = scratch_.path().string();
  const CommandResult lo = run_command("soffice -env:UserInstallation=file://" + dir +
                                       "/profile --headless --convert-to pdf stylus.wmf");
  // LibreOffice exits with 0 whatever happened: the PDF tells (a file it cannot read, such
  // as one with a header of type 2, gives none).
  ASSERT_TRUE(file_exists("stylus.pdf")) << lo.output;
  EXPECT_EQ(read_file("stylus.pdf").substr(0, 5), "%PDF-");
}

}  // namespace
