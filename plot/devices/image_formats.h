// The image files of the raster devices and of rimage, rtiff and rpng, as pure functions of
// a picture of colour numbers and the colour table: the raw image file, the uncompressed
// palette TIFF and the palette PNG, each returned whole as the bytes of the file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "devices/driver.h"

namespace stylus {

// Palette entries of a PNG for a colour table kind: 9 for SMAL, 16 for VGA, else 256.
int png_palette_entries(int table_kind);

// Colour numbers 0..entries - 1 of RGB pixels (0x00RRGGBB): each the first of the table's
// first `entries` colours that lies nearest to it.
std::vector<unsigned char> nearest_color_numbers(const std::vector<std::uint32_t>& rgb,
                                                 const int table[256], int entries);

// The raw image file: the 80-byte header "!Bitmap STYLUS VIRT " with the nine numbers, then
// the rows, each padded with zero bytes to a multiple of 4.
std::string raw_image_file(const IndexedImage& image);

// The palette TIFF, little-endian: an 11-entry directory, one strip per row and the
// 768-entry colour map of the table (each 8-bit component times 257).
std::string tiff_file(const IndexedImage& image, const int table[256]);

// The palette PNG with the first `palette_entries` colours of the table (all 256 when a
// pixel lies beyond them) and the rows deflated at zlib's default level. Nothing when zlib
// fails.
std::optional<std::string> png_file(const IndexedImage& image, const int table[256],
                                    int palette_entries);

}  // namespace stylus
