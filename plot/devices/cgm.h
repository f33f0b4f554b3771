// The binary CGM device "CGM": one metafile with one picture of 16-bit VDC polylines in
// direct colour. The element encoding is a set of small pure helpers; the driver puts
// every byte, header included, through fixed 80-byte records.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "devices/device_table.h"
#include "devices/file_driver.h"
#include "devices/path_buffer.h"

namespace stylus {

// The element encoding. Every element starts with a 16-bit header word: class in bits
// 12..15, element id in bits 5..11, parameter length in bits 0..4; a length of 31 says that
// a 16-bit length word follows (long form). Numbers go most significant byte first.
namespace cgm {

inline constexpr int kLongForm = 31;

// A 16-bit value; values outside the 16-bit range keep their low 16 bits.
void put_word(std::string& out, int value);
// The short-form header word of an element with length parameter bytes (0..30). With
// length kLongForm it is the header word of a long-form element whose length word the
// caller writes next (qqcgm1 does so for texts).
void put_header(std::string& out, int cls, int id, int length);
// The long-form header: the header word with length 31, then the length word (0..32767).
void put_long_header(std::string& out, int cls, int id, int length);
// The metafile version written by METAFILE VERSION; 1 selects the CALS profile.
inline constexpr int kVersion = 1;
// The text of METAFILE DESCRIPTION: the profile of the metafile version, the library
// version and a date "dd.mm.yyyy" (as dddate gives it) written as eight digits yyyymmdd.
std::string description(int version, float library_version, std::string_view date);

}  // namespace cgm

// A text as the long-form parameter of the element whose header word was just written:
// the length word n + 1, the byte n, the n characters and, when n is even, a zero byte that
// ends the element on a 16-bit boundary. Texts are cut to 254 characters, the longest that
// a one-byte count holds.
void qqcgm1(std::string& out, std::string_view text);

inline constexpr int kCgmPolylineSize = 50;

class CgmDriver final : public FileDriver {
 public:
  // last_point is where the previous session's last polyline ended; the driver keeps it up
  // to date.
  explicit CgmDriver(PathEnd& last_point);

  // Starts the metafile and its picture.
  void inicgm();
  // One point in VDC (reals, rounded here) with pen 3 move, 2 draw, 999 flush.
  void drwcgm(float x, float y, int pen);

  void point(const DevicePoint& p, int pen) override { drwcgm(p.x, p.y, pen); }
  void color(const ColorChange& change) override;
  bool polygon(const DevicePoint* points, int n) override;
  void flush() override { drwcgm(0.0f, 0.0f, kPenFlush); }

 protected:
  float header(const DriverSetup& setup) override;
  void end() override;

 private:
  void picture_start();
  void write_polyline();
  void write_line_colour(RgbColor rgb);
  void emit(const std::string& bytes);

  PathBuffer<std::int16_t, kCgmPolylineSize> path_;
  DriverPage page_;
  float scale_ = 1.0f;
  std::string file_name_;
  std::string description_;
  RgbColor colour_{};
  bool colour_known_ = false;
  bool colour_due_ = false;
  std::string polyline_;
  bool solid_interior_ = false;  // INTERIOR STYLE solid was written
  RgbColor fill_{};              // the FILL COLOUR written last
  bool fill_known_ = false;
};

}  // namespace stylus
