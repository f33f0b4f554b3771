// The image files byte for byte (the raw image file: see the raster sessions): the CRC-32
// of the PNG chunks, the TIFF directory, strips and colour map, and the PNG chunks and
// palette; colours read back as colour numbers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/byte_order.h"
#include "devices/crc32.h"
#include "devices/image_formats.h"
#include "records/color_tables.h"

namespace stylus {
namespace {

// Colour numbers 0..8, so that the image also fits the SMAL palette.
IndexedImage image(int w, int h) {
  IndexedImage im{w, h, {}};
  for (int i = 0; i < w * h; ++i) im.pixels.push_back(static_cast<unsigned char>((1 + 7 * i) % 9));
  return im;
}

struct Tables {
  int rain[256] = {}, small[256] = {};
  Tables() {
    load_color_table(kTableRainbow, rain, false);
    load_color_table(kTableSmall, small, false);
  }
};

TEST(ImageFormats, Crc32) {
  EXPECT_EQ(crc32("IEND"), 0xAE426082u);
  EXPECT_EQ(crc32("123456789"), 0xCBF43926u);
}

TEST(ImageFormats, TiffDirectoryStripsAndColourMap) {
  const Tables t;
  const IndexedImage im = image(3, 4);
  const std::string f = tiff_file(im, t.rain);
  const std::size_t pixels = 1682 + 6 * 4;
  ASSERT_EQ(f.size(), pixels + 12);
  EXPECT_EQ(f.substr(0, 10), std::string("II*\0\10\0\0\0\13\0", 10));
  const std::uint32_t entries[11][4] = {{254, 4, 1, 0},   {256, 3, 1, 3},    {257, 3, 1, 4},
                                        {258, 3, 1, 8},   {259, 3, 1, 1},    {262, 3, 1, 3},
                                        {273, 4, 4, 146}, {277, 3, 1, 1},    {278, 3, 1, 1},
                                        {279, 3, 4, 162}, {320, 3, 768, 170}};
  for (int i = 0; i < 11; ++i)
    EXPECT_EQ(std::vector({get_u16_le(f, 10 + 12 * i), get_u16_le(f, 12 + 12 * i),
                           get_u32_le(f, 14 + 12 * i), get_u32_le(f, 18 + 12 * i)}),
              std::vector(entries[i], entries[i] + 4));
  EXPECT_EQ(get_u32_le(f, 142), 0u);
  EXPECT_EQ(get_u32_le(f, 146 + 4 * 3), pixels + 3 * 3);
  EXPECT_EQ(get_u16_le(f, 162 + 2 * 3), 3u);
  // RAIN: red of entry 0 is 0, of entry 255 (white) 65535; blue of entry 254 (red) 0.
  EXPECT_EQ(get_u16_le(f, 170), 0u);
  EXPECT_EQ(get_u16_le(f, 170 + 2 * 255), 65535u);
  EXPECT_EQ(get_u16_le(f, 170 + 2 * (2 * 256 + 254)), 0u);
  EXPECT_EQ(f.substr(pixels), std::string(im.pixels.begin(), im.pixels.end()));
  // One or two strips: the values fit into the field and stand there themselves.
  EXPECT_EQ(get_u32_le(tiff_file(image(3, 1), t.rain), 10 + 12 * 6 + 8), 1688u);
  EXPECT_EQ(get_u32_le(tiff_file(image(3, 2), t.rain), 10 + 12 * 9 + 8), 0x00030003u);
}

// The chunks of a PNG file, each with its CRC checked.
std::vector<std::pair<std::string, std::string>> chunks(const std::string& png) {
  std::vector<std::pair<std::string, std::string>> out;
  EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  for (std::size_t at = 8; at + 12 <= png.size(); at += 12 + out.back().second.size()) {
    const std::string body = png.substr(at + 4, 4 + get_u32_be(png, at));
    EXPECT_EQ(get_u32_be(png, at + 4 + body.size()), crc32(body));
    out.emplace_back(body.substr(0, 4), body.substr(4));
  }
  return out;
}

TEST(ImageFormats, PngChunksPaletteAndRows) {
  const Tables t;
  const IndexedImage im = image(3, 2);
  const auto c = chunks(*png_file(im, t.small, png_palette_entries(kTableSmall)));
  ASSERT_EQ(c.size(), 4u);
  EXPECT_EQ(c[0],
            std::make_pair(std::string("IHDR"), std::string("\0\0\0\3\0\0\0\2\10\3\0\0\0", 13)));
  EXPECT_EQ(c[1].first, "PLTE");
  EXPECT_EQ(c[1].second.substr(0, 9), std::string("\0\0\0\377\377\377\377\0\0", 9));
  EXPECT_EQ(c[1].second.size(), 27u);
  EXPECT_EQ(c[2].first, "IDAT");  // its rows: see the decoded files of the reader tests
  EXPECT_EQ(c[3], std::make_pair(std::string("IEND"), std::string()));

  EXPECT_EQ(png_palette_entries(kTableVga), 16);
  EXPECT_EQ(chunks(*png_file(im, t.rain, 256))[1].second.size(), 768u);
  // A colour number beyond the short palette would make the file invalid: all 256 then.
  IndexedImage beyond = im;
  beyond.pixels[4] = 200;
  EXPECT_EQ(chunks(*png_file(beyond, t.small, 9))[1].second.size(), 768u);
}

TEST(ImageFormats, NearestColourNumbersAmongTheFirstEntries) {
  const Tables t;
  const std::vector<std::uint32_t> rgb = {0x000000, 0xFFFFFF, 0xFF0000, 0xFE0101};
  EXPECT_EQ(nearest_color_numbers(rgb, t.rain, 256),
            (std::vector<unsigned char>{0, 255, 254, 254}));
  EXPECT_EQ(nearest_color_numbers(rgb, t.small, 9), (std::vector<unsigned char>{0, 1, 2, 2}));
}

}  // namespace
}  // namespace stylus
