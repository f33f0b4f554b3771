// The sixel picture of the terminal and printer devices: the control string byte by byte for
// a small picture (protocol selector, raster attributes, register definitions, bands, runs,
// pixels left without a dot), and random pictures read back by a decoder of the format.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "devices/sixel.h"

namespace stylus {
namespace {

SixelImage picture(int width, int height, unsigned char fill) {
  SixelImage image;
  image.width = width;
  image.height = height;
  image.dots.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
  return image;
}

void set(SixelImage& image, int x, int y, unsigned char reg) {
  image.dots[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
             static_cast<std::size_t>(x)] = reg;
}

// The pixels of a control string as append_sixel_picture writes it: the registers of the
// dots, kSixelNoDot elsewhere (repeat counts, colour selections, carriage returns and new
// lines; the raster attributes give the size).
SixelImage decode(const std::string& s) {
  SixelImage image;
  std::size_t i = s.find("q\"1;1;");
  if (i == std::string::npos) return image;
  i += 6;
  auto number = [&] {
    int v = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') v = 10 * v + (s[i++] - '0');
    return v;
  };
  image.width = number();
  ++i;
  image.height = number();
  image = picture(image.width, image.height, SixelImage::kSixelNoDot);
  int x = 0, top = 0, reg = 0;
  while (i < s.size() && s[i] != '\x1b') {
    const char c = s[i++];
    int repeat = 1;
    if (c == '#') {
      reg = number();
      if (i < s.size() && s[i] == ';') {  // a definition
        while (i < s.size() && (s[i] == ';' || (s[i] >= '0' && s[i] <= '9'))) ++i;
      }
      continue;
    }
    if (c == '$') {
      x = 0;
      continue;
    }
    if (c == '-') {
      x = 0;
      top += 6;
      continue;
    }
    char sixel = c;
    if (c == '!') {
      repeat = number();
      sixel = s[i++];
    }
    for (int n = 0; n < repeat; ++n, ++x)
      for (int k = 0; k < 6; ++k)
        if (((sixel - '?') >> k) & 1) set(image, x, top + k, static_cast<unsigned char>(reg));
  }
  return image;
}

TEST(Sixel, SmallPictureByteByByte) {
  // Seven rows: two bands, the second of one row. Register 1 fills the first band's first
  // six columns, register 0 marks column 8 of rows 0 and 5; row 6 has a dot at column 2.
  SixelImage image = picture(10, 7, SixelImage::kSixelNoDot);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) set(image, x, y, 1);
  set(image, 8, 0, 0);
  set(image, 8, 5, 0);
  set(image, 2, 6, 3);
  std::string out;
  append_sixel_picture(out, image, {9, 1, 2}, {{0, 0, 0}, {255, 128, 1}});
  EXPECT_EQ(out,
            "\x1bP9;1;2q\"1;1;10;7#0;2;0;0;0#1;2;100;50;0"
            "#0!8?`$#1!6~"  // register 0: eight empty sixels, then rows 0 and 5
            "-#3??@"        // the last band: row 6 only
            "\x1b\\");
}

TEST(Sixel, RunsOfThreeAreWrittenOutAndTheLastDotEndsARegister) {
  SixelImage image = picture(9, 6, SixelImage::kSixelNoDot);
  for (int x : {0, 1, 2, 4}) set(image, x, 0, 2);
  std::string out;
  append_sixel_picture(out, image, {}, {});
  EXPECT_EQ(out, "\x1bP0;1;0q\"1;1;9;6#2@@@?@\x1b\\");
  // An empty picture is the envelope with its size; empty bands still advance.
  out.clear();
  append_sixel_picture(out, picture(3, 13, SixelImage::kSixelNoDot), {}, {});
  EXPECT_EQ(out, "\x1bP0;1;0q\"1;1;3;13--\x1b\\");
}

TEST(Sixel, RandomPicturesReadBack) {
  std::mt19937 rng(22);
  for (int round = 0; round < 20; ++round) {
    const int w = 1 + static_cast<int>(rng() % 40), h = 1 + static_cast<int>(rng() % 30);
    SixelImage image = picture(w, h, SixelImage::kSixelNoDot);
    // Long runs and noise: a few registers, with pixels left empty.
    for (unsigned char& d : image.dots) {
      const unsigned r = rng() % 10;
      d = r < 3 ? SixelImage::kSixelNoDot : static_cast<unsigned char>(r < 7 ? 0 : r);
    }
    std::string out;
    append_sixel_picture(out, image, {}, {{1, 2, 3}});
    const SixelImage back = decode(out);
    ASSERT_EQ(back.width, w);
    ASSERT_EQ(back.height, h);
    EXPECT_EQ(back.dots, image.dots) << out;
  }
}

}  // namespace
}  // namespace stylus
