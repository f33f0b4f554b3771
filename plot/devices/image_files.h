// Pictures written as image files: by the raster devices at the session end, by the screen
// for a picture drawn off-screen, and by the public routines rimage, rtiff and rpng.
#pragma once

#include <array>
#include <string>

#include "devices/byte_sink.h"
#include "devices/driver.h"

namespace stylus {

// The image formats; a raster row's variant names the one it writes at the end.
enum class ImageFormat { kRaw = 1, kTiff = 2, kPng = 3 };

// The colours of a picture's colour numbers: the colour table and its kind (which fixes the
// PNG palette's length).
struct PictureColors {
  std::array<int, 256> table{};
  int kind = 1;
};

// Writes the picture in the format into file. 1 when written; 0 after a warning: 53 no
// memory, 101 "ZLIB error".
int write_picture(ImageFormat format, const IndexedImage& image, const PictureColors& colors,
                  ByteSink& file);
// Writes the picture as a new file under a version of name. 1 when written, with the name
// used in *written when asked for; 0 after a warning: 37 when no version of the name fits,
// 36 when every version is taken or the file cannot be written completely (nothing is left
// behind), 53, 101.
int save_picture(ImageFormat format, const IndexedImage& image, const PictureColors& colors,
                 const char* name, std::string* written = nullptr);

}  // namespace stylus
