// The image files byte for byte: the CRC-32 of the PNG chunks, the raw image header and
// its padded rows, the TIFF directory, strips and colour map, the PNG chunks with their
// palette and rows, and colours read back as colour numbers.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "devices/byte_order.h"
#include "devices/crc32.h"
#include "devices/image_formats.h"
#include "state/color_tables.h"

namespace stylus {
namespace {

IndexedImage image(int w, int h) {
  IndexedImage im{w, h, {}};
  for (int i = 0; i < w * h; ++i) im.pixels.push_back(static_cast<unsigned char>((1 + 7 * i) % 9));
  return im;
}

struct Tables {
  int rain[256] = {}, small[256] = {};
  Tables() {
    load_color_table(kTableRainbow, rain, false);
    load_color_table(kTableRainbow, small, false);
    load_color_table(kTableSmall, small, false);
  }
};

TEST(Crc32, CheckValues) {
  EXPECT_EQ(crc32("IEND"), 0xAE426082u);
  EXPECT_EQ(crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(crc32(""), 0u);
}

TEST(RawImageFile, HeaderAndRowsPaddedToFourBytes) {
  const IndexedImage im{5, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}};
  const std::string f = raw_image_file(im);
  EXPECT_EQ(f.substr(0, 80),
            "!Bitmap STYLUS VIRT     5     2     8     8     8    32     0     1     0       ");
  EXPECT_EQ(f.substr(80), std::string("\1\2\3\4\5\0\0\0\6\7\10\11\12\0\0\0", 16));
}

TEST(TiffFile, DirectoryStripsAndColourMap) {
  const Tables t;
  const IndexedImage im = image(3, 4);
  const std::string f = tiff_file(im, t.rain);
  const std::size_t pixels = 1682 + 6 * 4;
  ASSERT_EQ(f.size(), pixels + 12);
  EXPECT_EQ(f.substr(0, 4), std::string("II*\0", 4));
  EXPECT_EQ(get_u32_le(f, 4), 8u);
  EXPECT_EQ(get_u16_le(f, 8), 11u);
  const std::uint32_t entries[11][4] = {{254, 4, 1, 0},   {256, 3, 1, 3},    {257, 3, 1, 4},
                                        {258, 3, 1, 8},   {259, 3, 1, 1},    {262, 3, 1, 3},
                                        {273, 4, 4, 146}, {277, 3, 1, 1},    {278, 3, 1, 1},
                                        {279, 3, 4, 162}, {320, 3, 768, 170}};
  for (int i = 0; i < 11; ++i) {
    const std::size_t at = 10 + 12 * i;
    EXPECT_EQ(get_u16_le(f, at), entries[i][0]) << i;
    EXPECT_EQ(get_u16_le(f, at + 2), entries[i][1]) << i;
    EXPECT_EQ(get_u32_le(f, at + 4), entries[i][2]) << i;
    EXPECT_EQ(get_u32_le(f, at + 8), entries[i][3]) << i;
  }
  EXPECT_EQ(get_u32_le(f, 142), 0u);
  for (int j = 0; j < 4; ++j) {
    EXPECT_EQ(get_u32_le(f, 146 + 4 * j), pixels + 3 * j);
    EXPECT_EQ(get_u16_le(f, 162 + 2 * j), 3u);
  }
  // RAIN: entry 0 black, entry 255 white, each component times 257.
  EXPECT_EQ(get_u16_le(f, 170), 0u);
  EXPECT_EQ(get_u16_le(f, 170 + 2 * 255), 65535u);
  EXPECT_EQ(get_u16_le(f, 170 + 2 * (512 + 255)), 65535u);
  EXPECT_EQ(get_u16_le(f, 170 + 2 * 254), 257u * rgb_red(t.rain[254]));
  EXPECT_EQ(f.substr(pixels), std::string(im.pixels.begin(), im.pixels.end()));

  // One or two strips: the values fit into the field and stand there themselves.
  const std::string one = tiff_file(image(3, 1), t.rain);
  EXPECT_EQ(get_u32_le(one, 10 + 12 * 6 + 8), 1688u);
  EXPECT_EQ(get_u32_le(one, 10 + 12 * 9 + 8), 3u);
  EXPECT_EQ(get_u32_le(tiff_file(image(3, 2), t.rain), 10 + 12 * 9 + 8), 0x00030003u);
}

// The chunks of a PNG file (type and data), each with its CRC checked.
std::vector<std::pair<std::string, std::string>> chunks(const std::string& png) {
  std::vector<std::pair<std::string, std::string>> out;
  EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  for (std::size_t at = 8; at < png.size();) {
    const std::size_t n = get_u32_be(png, at);
    const std::string body = png.substr(at + 4, 4 + n);
    EXPECT_EQ(get_u32_be(png, at + 8 + n), crc32(body)) << body.substr(0, 4);
    out.emplace_back(body.substr(0, 4), body.substr(4));
    at += 12 + n;
  }
  return out;
}

TEST(PngFile, ChunksPaletteAndRows) {
  const Tables t;
  const IndexedImage im = image(3, 2);
  const auto c = chunks(*png_file(im, t.small, png_palette_entries(kTableSmall)));
  ASSERT_EQ(c.size(), 4u);
  EXPECT_EQ(c[0].first, "IHDR");
  EXPECT_EQ(c[0].second, std::string("\0\0\0\3\0\0\0\2\10\3\0\0\0", 13));
  EXPECT_EQ(c[1].first, "PLTE");
  std::string palette;
  for (int i = 0; i < 9; ++i)
    palette += {static_cast<char>(rgb_red(t.small[i])), static_cast<char>(rgb_green(t.small[i])),
                static_cast<char>(rgb_blue(t.small[i]))};
  EXPECT_EQ(c[1].second, palette);
  EXPECT_EQ(c[2].first, "IDAT");
  std::string rows(8, 'x');
  uLongf n = rows.size();
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(rows.data()), &n,
                       reinterpret_cast<const Bytef*>(c[2].second.data()), c[2].second.size()),
            Z_OK);
  EXPECT_EQ(rows.substr(0, n), std::string("\0\1\10\6\0\4\2\0", 8));
  EXPECT_EQ(c[3], std::make_pair(std::string("IEND"), std::string()));

  EXPECT_EQ(png_palette_entries(kTableVga), 16);
  EXPECT_EQ(chunks(*png_file(im, t.rain, png_palette_entries(kTableRainbow)))[1].second.size(),
            768u);
  // A colour number beyond the short palette would make the file invalid: all 256 then.
  IndexedImage beyond = im;
  beyond.pixels[4] = 200;
  EXPECT_EQ(chunks(*png_file(beyond, t.small, 9))[1].second.size(), 768u);
}

TEST(NearestColorNumbers, FirstNearestEntryOfTheTablesFirstColours) {
  const Tables t;
  const std::vector<std::uint32_t> rgb = {0x000000, 0xFFFFFF, 0xFF0000, 0xFE0101, 0x123456};
  const std::vector<unsigned char> rain = nearest_color_numbers(rgb, t.rain, 256);
  EXPECT_EQ(rain[0], 0);
  EXPECT_EQ(rain[1], 255);
  EXPECT_EQ(static_cast<std::uint32_t>(t.rain[rain[2]]), 0xFF0000u);
  EXPECT_EQ(rain[3], rain[2]);
  // SMAL: only its nine colours.
  for (unsigned char n : nearest_color_numbers(rgb, t.small, 9)) EXPECT_LT(n, 9);
}

}  // namespace
}  // namespace stylus
