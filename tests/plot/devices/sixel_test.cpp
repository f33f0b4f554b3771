// The sixel picture of the terminal and printer devices byte by byte: protocol selector,
// raster attributes, register definitions, bands with a short last one, runs, pixels left
// without a dot, and an empty picture.
#include <gtest/gtest.h>

#include <string>

#include "devices/sixel.h"

namespace stylus {
namespace {

SixelImage picture(int width, int height) {
  return {width, height,
          std::vector<unsigned char>(static_cast<std::size_t>(width * height),
                                     SixelImage::kSixelNoDot)};
}

TEST(Sixel, PictureByteByByte) {
  // Seven rows: two bands, the second of one row. Register 1 fills the first band's first
  // six columns, register 0 marks column 8 of rows 0 and 5, register 3 columns 0 to 2 and 4
  // of row 6 (a run of three is written out).
  SixelImage image = picture(10, 7);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) image.dots[y * 10 + x] = 1;
  image.dots[8] = image.dots[58] = 0;
  for (int x : {0, 1, 2, 4}) image.dots[60 + x] = 3;
  std::string out;
  append_sixel_picture(out, image, {9, 1, 2}, {{0, 0, 0}, {255, 128, 1}});
  EXPECT_EQ(out,
            "\x1bP9;1;2q\"1;1;10;7#0;2;0;0;0#1;2;100;50;0"
            "#0!8?`$#1!6~"  // register 0: eight empty sixels, then rows 0 and 5
            "-#3@@@?@"      // the last band: row 6 only, up to the last dot
            "\x1b\\");
  // An empty picture is the envelope with its size; empty bands still advance.
  out.clear();
  append_sixel_picture(out, picture(3, 13), {}, {});
  EXPECT_EQ(out, "\x1bP0;1;0q\"1;1;3;13--\x1b\\");
}

}  // namespace
}  // namespace stylus
