// The public image routines rimage, rtiff and rpng and their by-reference entries: the
// picture of a raster or screen session written as an image file at any time.
#include <algorithm>
#include <iterator>
#include <new>

#include "devices/device_table.h"
#include "devices/image_files.h"
#include "pen/pen.h"
#include "records/messages.h"
#include "records/state.h"
#include "records/strings.h"
#include "stylus.h"
#include "records/api_call.h"

namespace stylus {
namespace {

void image_routine(ImageFormat format, const char* name, const char* routine) {
  if (jqqlev(1, 3, routine)) return;
  if (!current_device().keeps_picture) {
    warnin(40);
    return;
  }
  qqstrk();
  try {
    IndexedImage image;
    Driver* driver = current_driver();
    if (driver == nullptr || !driver->picture(image)) {
      warnin(40);
      return;
    }
    PictureColors colors;
    std::copy(std::begin(g_cycles.table), std::end(g_cycles.table), colors.table.begin());
    colors.kind = g_ivray.color_table;
    save_picture(format, image, colors, name);
  } catch (const std::bad_alloc&) {
    warnin(53);
  }
}

// A file name of a by-reference entry: at most 256 characters, trailing blanks (the padding
// of a fixed-length text) removed.
constexpr int kFileNameMax = 256;
void entry_name(char (&buf)[kFileNameMax + 1], const char* text, stylus_len len) {
  qqwrcp(buf, text, kFileNameMax, len);
  buf[trmlen(buf)] = '\0';
}

}  // namespace
}  // namespace stylus

using namespace stylus;

extern "C" {

void rimage(const char* name) try {
  const ApiCall call;
  image_routine(ImageFormat::kRaw, name, "rimage");
} catch (...) {
  api_failure();
}
void rtiff(const char* name) try {
  const ApiCall call;
  image_routine(ImageFormat::kTiff, name, "rtiff");
} catch (...) {
  api_failure();
}
void rpng(const char* name) try {
  const ApiCall call;
  image_routine(ImageFormat::kPng, name, "rpng");
} catch (...) {
  api_failure();
}

void rimage_(const char* name, stylus_len len_name) try {
  const ApiCall call;
  char buf[kFileNameMax + 1];
  entry_name(buf, name, len_name);
  rimage(buf);
} catch (...) {
  api_failure();
}
void rtiff_(const char* name, stylus_len len_name) try {
  const ApiCall call;
  char buf[kFileNameMax + 1];
  entry_name(buf, name, len_name);
  rtiff(buf);
} catch (...) {
  api_failure();
}
void rpng_(const char* name, stylus_len len_name) try {
  const ApiCall call;
  char buf[kFileNameMax + 1];
  entry_name(buf, name, len_name);
  rpng(buf);
} catch (...) {
  api_failure();
}

}  // extern "C"
