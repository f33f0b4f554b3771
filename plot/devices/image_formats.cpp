// The image file formats (see image_formats.h). Every multi-byte number goes through the
// byte-order helpers, so the files are the same on every host.
#include "devices/image_formats.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "devices/byte_order.h"
#include "devices/crc32.h"
#include "records/color_tables.h"

namespace stylus {
namespace {

int row_bytes_padded(int width) {
  return (width + 3) / 4 * 4;
}

const unsigned char* image_row(const IndexedImage& image, int y) {
  return image.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width);
}

// TIFF field types.
constexpr std::uint32_t kShort = 3, kLong = 4;

void tiff_entry(std::string& out, std::uint32_t tag, std::uint32_t type, std::uint32_t count,
                std::uint32_t value) {
  put_u16_le(out, tag);
  put_u16_le(out, type);
  put_u32_le(out, count);
  put_u32_le(out, value);  // a SHORT sits in the first two bytes of the field
}

void png_chunk(std::string& out, const char type[5], const std::string& data) {
  put_u32_be(out, static_cast<std::uint32_t>(data.size()));
  std::string body(type, 4);
  body += data;
  out += body;
  put_u32_be(out, crc32(body));
}

}  // namespace

int png_palette_entries(int table_kind) {
  if (table_kind == kTableSmall) return 9;
  if (table_kind == kTableVga) return 16;
  return 256;
}

std::vector<unsigned char> nearest_color_numbers(const std::vector<std::uint32_t>& rgb,
                                                 const int table[256], int entries) {
  entries = std::clamp(entries, 1, 256);
  std::unordered_map<std::uint32_t, unsigned char> known;
  std::vector<unsigned char> out;
  out.reserve(rgb.size());
  for (const std::uint32_t c : rgb) {
    auto it = known.find(c);
    if (it == known.end()) {
      const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
      int best = 0;
      long best_d = -1;
      for (int i = 0; i < entries; ++i) {
        const long dr = r - rgb_red(table[i]), dg = g - rgb_green(table[i]),
                   db = b - rgb_blue(table[i]);
        const long d = dr * dr + dg * dg + db * db;
        if (best_d < 0 || d < best_d) best = i, best_d = d;
      }
      it = known.emplace(c, static_cast<unsigned char>(best)).first;
    }
    out.push_back(it->second);
  }
  return out;
}

std::string raw_image_file(const IndexedImage& image) {
  const int w = image.width, h = image.height, padded = row_bytes_padded(w);
  char numbers[64];
  std::snprintf(numbers, sizeof numbers, "%5d %5d %5d %5d %5d %5d %5d %5d %5d", w, h, 8, padded, 8,
                32, 0, 1, 0);
  std::string out = "!Bitmap STYLUS VIRT ";
  out += numbers;
  out.resize(80, ' ');
  out.reserve(80 + static_cast<std::size_t>(padded) * static_cast<std::size_t>(h));
  for (int y = 0; y < h; ++y) {
    out.append(reinterpret_cast<const char*>(image_row(image, y)), static_cast<std::size_t>(w));
    out.append(static_cast<std::size_t>(padded - w), '\0');
  }
  return out;
}

std::string tiff_file(const IndexedImage& image, const int table[256]) {
  const std::uint32_t w = static_cast<std::uint32_t>(image.width);
  const std::uint32_t h = static_cast<std::uint32_t>(image.height);
  const std::uint32_t offsets = 146, counts = 146 + 4 * h, map = 146 + 6 * h, pixels = 1682 + 6 * h;
  std::string out;
  out.reserve(pixels + w * h);
  out += "II*";
  out.push_back('\0');
  put_u32_le(out, 8);
  put_u16_le(out, 11);
  tiff_entry(out, 254, kLong, 1, 0);   // NewSubfileType
  tiff_entry(out, 256, kShort, 1, w);  // ImageWidth
  tiff_entry(out, 257, kShort, 1, h);  // ImageLength
  tiff_entry(out, 258, kShort, 1, 8);  // BitsPerSample
  tiff_entry(out, 259, kShort, 1, 1);  // Compression: none
  tiff_entry(out, 262, kShort, 1, 3);  // PhotometricInterpretation: palette
  // A field whose values fit into four bytes holds them itself rather than their offset:
  // one strip offset, or one or two byte counts. The arrays stay where they are.
  tiff_entry(out, 273, kLong, h, h == 1 ? pixels : offsets);  // StripOffsets
  tiff_entry(out, 277, kShort, 1, 1);                         // SamplesPerPixel
  tiff_entry(out, 278, kShort, 1, 1);                         // RowsPerStrip
  const std::uint32_t inline_counts = h == 2 ? w << 16 | w : w;
  tiff_entry(out, 279, kShort, h, h <= 2 ? inline_counts : counts);  // StripByteCounts
  tiff_entry(out, 320, kShort, 768, map);                            // ColorMap
  put_u32_le(out, 0);
  for (std::uint32_t j = 0; j < h; ++j) put_u32_le(out, pixels + j * w);
  for (std::uint32_t j = 0; j < h; ++j) put_u16_le(out, w);
  for (int shift : {16, 8, 0})
    for (int i = 0; i < 256; ++i) put_u16_le(out, 257u * ((table[i] >> shift) & 0xFF));
  for (std::uint32_t y = 0; y < h; ++y)
    out.append(reinterpret_cast<const char*>(image_row(image, static_cast<int>(y))), w);
  return out;
}

std::optional<std::string> png_file(const IndexedImage& image, const int table[256],
                                    int palette_entries) {
  const int w = image.width, h = image.height;
  // A colour number beyond a short palette would make the file invalid: then all 256.
  int entries = std::clamp(palette_entries, 1, 256);
  if (std::any_of(image.pixels.begin(), image.pixels.end(),
                  [entries](unsigned char p) { return p >= entries; }))
    entries = 256;

  std::string raw;
  raw.reserve(static_cast<std::size_t>(w + 1) * static_cast<std::size_t>(h));
  for (int y = 0; y < h; ++y) {
    raw.push_back('\0');  // filter type 0: the row as it is
    raw.append(reinterpret_cast<const char*>(image_row(image, y)), static_cast<std::size_t>(w));
  }
  z_stream z{};
  if (deflateInit(&z, Z_DEFAULT_COMPRESSION) != Z_OK) return std::nullopt;
  std::string packed(deflateBound(&z, static_cast<uLong>(raw.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(raw.data());
  z.avail_in = static_cast<uInt>(raw.size());
  z.next_out = reinterpret_cast<Bytef*>(packed.data());
  z.avail_out = static_cast<uInt>(packed.size());
  const bool finished = deflate(&z, Z_FINISH) == Z_STREAM_END;
  packed.resize(z.total_out);
  if (deflateEnd(&z) != Z_OK || !finished) return std::nullopt;

  std::string out = "\x89PNG\r\n\x1a\n";
  std::string ihdr;
  put_u32_be(ihdr, static_cast<std::uint32_t>(w));
  put_u32_be(ihdr, static_cast<std::uint32_t>(h));
  ihdr += std::string{'\x08', '\x03', '\0', '\0', '\0'};  // depth 8, palette, no interlace
  png_chunk(out, "IHDR", ihdr);
  std::string plte;
  for (int i = 0; i < entries; ++i) {
    plte.push_back(static_cast<char>(rgb_red(table[i])));
    plte.push_back(static_cast<char>(rgb_green(table[i])));
    plte.push_back(static_cast<char>(rgb_blue(table[i])));
  }
  png_chunk(out, "PLTE", plte);
  png_chunk(out, "IDAT", packed);
  png_chunk(out, "IEND", "");
  return out;
}

}  // namespace stylus
