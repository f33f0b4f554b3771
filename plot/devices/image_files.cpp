// The image writers of the library (see image_files.h) and the public routines rimage,
// rtiff and rpng with their by-reference entries.
#include "devices/image_files.h"

#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include "devices/byte_sink.h"
#include "devices/device_table.h"
#include "devices/image_formats.h"
#include "draw/pen.h"
#include "state/file_names.h"
#include "state/messages.h"
#include "state/state.h"
#include "state/strings.h"
#include "stylus.h"

namespace stylus {
namespace {

// The devices whose drivers keep a picture to read back: the raster images and the screen
// windows. The others (files written while drawing, the applet source) are refused.
bool keeps_picture(const DeviceRecord& device) {
  return device.cls == DeviceClass::kRaster || device.cls == DeviceClass::kScreen;
}

void image_routine(ImageFormat format, const char* name, const char* routine) {
  if (jqqlev(1, 3, routine)) return;
  if (!keeps_picture(current_device())) {
    warnin(40);
    return;
  }
  save_picture(format, name);
}

// A file name of a by-reference entry: at most 256 characters, trailing blanks (the padding
// of a fixed-length text) removed.
constexpr int kFileNameMax = 256;
void entry_name(char (&buf)[kFileNameMax + 1], const char* text, stylus_len len) {
  qqwrcp(buf, text, kFileNameMax, len);
  buf[trmlen(buf)] = '\0';
}

}  // namespace

int write_picture_file(ImageFormat format, const IndexedImage& image, const char* name) {
  try {
    std::optional<std::string> bytes;
    switch (format) {
      case ImageFormat::kRaw:
        bytes = raw_image_file(image);
        break;
      case ImageFormat::kTiff:
        bytes = tiff_file(image, g_cycles.table);
        break;
      case ImageFormat::kPng:
        bytes = png_file(image, g_cycles.table, png_palette_entries(g_ivray.color_table));
        break;
    }
    if (!bytes) {
      qqserr("ZLIB error");
      warnin(101);
      return 0;
    }
    if (write_whole_file(name, *bytes)) return 1;
    warnc1(36, name);
    return 0;
  } catch (const std::bad_alloc&) {
    warnin(53);
    return 0;
  }
}

int save_picture(ImageFormat format, const char* name, std::string* written) {
  qqstrk();
  if (name == nullptr) name = "";
  try {
    IndexedImage image;
    Driver* driver = current_driver();
    if (driver == nullptr || !driver->picture(image)) {
      warnin(40);
      return 0;
    }
    // Room for the longest version name ("_999" in place of a cut stem).
    std::vector<char> versioned(std::strlen(name) + 8, '\0');
    std::memcpy(versioned.data(), name, std::strlen(name));
    if (name[0] == '\0' || gfilnn(versioned.data(), versioned.size()) != 0) {
      warnc1(37, name);
      return 0;
    }
    if (!write_picture_file(format, image, versioned.data())) return 0;
    if (written) *written = versioned.data();
    return 1;
  } catch (const std::bad_alloc&) {
    warnin(53);
    return 0;
  }
}

}  // namespace stylus

using namespace stylus;

extern "C" {

void rimage(const char* name) {
  image_routine(ImageFormat::kRaw, name, "rimage");
}
void rtiff(const char* name) {
  image_routine(ImageFormat::kTiff, name, "rtiff");
}
void rpng(const char* name) {
  image_routine(ImageFormat::kPng, name, "rpng");
}

void rimage_(const char* name, stylus_len len_name) {
  char buf[kFileNameMax + 1];
  entry_name(buf, name, len_name);
  rimage(buf);
}
void rtiff_(const char* name, stylus_len len_name) {
  char buf[kFileNameMax + 1];
  entry_name(buf, name, len_name);
  rtiff(buf);
}
void rpng_(const char* name, stylus_len len_name) {
  char buf[kFileNameMax + 1];
  entry_name(buf, name, len_name);
  rpng(buf);
}

}  // extern "C"
