// The image writers of the library (see image_files.h).
#include "devices/image_files.h"

#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include "devices/file_names.h"
#include "devices/image_formats.h"
#include "records/messages.h"

namespace stylus {
namespace {

// The bytes of the file; nothing after a warning.
std::optional<std::string> encode_picture(ImageFormat format, const IndexedImage& image,
                                          const PictureColors& colors) {
  std::optional<std::string> bytes;
  switch (format) {
    case ImageFormat::kRaw:
      bytes = raw_image_file(image);
      break;
    case ImageFormat::kTiff:
      bytes = tiff_file(image, colors.table.data());
      break;
    case ImageFormat::kPng:
      bytes = png_file(image, colors.table.data(), png_palette_entries(colors.kind));
      break;
  }
  if (!bytes) {
    qqserr("ZLIB error");
    warnin(101);
  }
  return bytes;
}

}  // namespace

int write_picture(ImageFormat format, const IndexedImage& image, const PictureColors& colors,
                  ByteSink& file) {
  try {
    const std::optional<std::string> bytes = encode_picture(format, image, colors);
    if (!bytes) return 0;
    file.put(*bytes);
    return 1;
  } catch (const std::bad_alloc&) {
    warnin(53);
    return 0;
  }
}

int save_picture(ImageFormat format, const IndexedImage& image, const PictureColors& colors,
                 const char* name, std::string* written) {
  if (name == nullptr) name = "";
  try {
    // Room for the longest version name ("_999" in place of a cut stem).
    std::vector<char> versioned(std::strlen(name) + 8, '\0');
    std::memcpy(versioned.data(), name, std::strlen(name));
    const int named = name[0] == '\0' ? 1 : gfilnn(versioned.data(), versioned.size());
    if (named != 0) {
      warnc1(named == 2 ? 36 : 37, name);
      return 0;
    }
    const std::optional<std::string> bytes = encode_picture(format, image, colors);
    if (!bytes) return 0;
    // Should the name be taken by the time the file is complete, it gets the next version.
    std::string placed;
    if (!write_whole_file(versioned.data(), *bytes, name, &placed)) {
      warnc1(36, versioned.data());
      return 0;
    }
    if (written) *written = placed;
    return 1;
  } catch (const std::bad_alloc&) {
    warnin(53);
    return 0;
  }
}

}  // namespace stylus
