// Pictures written as image files: by the raster devices at the session end and by the
// public routines rimage, rtiff and rpng at any time of a session whose device keeps a
// picture (the raster devices and the screen windows).
#pragma once

#include <string>

#include "devices/driver.h"

namespace stylus {

enum class ImageFormat { kRaw, kTiff, kPng };

// Writes the picture in the format, with the current colour table, as the whole file name
// (already versioned). 1 when written; 0 after a warning: 36 the file cannot be written
// completely (nothing is left behind), 53 no memory, 101 "ZLIB error".
int write_picture_file(ImageFormat format, const IndexedImage& image, const char* name);

// The picture of the session's device written under a version of name, as rimage, rtiff
// and rpng do after their checks (the pending polyline is stroked first). 1 when written,
// with the name used in *written when asked for; 0 after a warning (40 when the device
// keeps no picture, 37 when no version of the name fits).
int save_picture(ImageFormat format, const char* name, std::string* written = nullptr);

}  // namespace stylus
