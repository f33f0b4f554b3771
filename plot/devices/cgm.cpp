// The CGM writer: the metafile and picture start, the polyline buffer with its 50 points,
// LINE COLOUR on colour changes, filled polygons and the end elements, all as 80-byte
// binary records.
#include "devices/cgm.h"

#include <cstdio>
#include <utility>

#include "devices/byte_order.h"
#include "devices/device_point.h"
#include "devices/device_table.h"

namespace stylus {

namespace cgm {

void put_word(std::string& out, int value) {
  put_u16_be(out, static_cast<std::uint32_t>(value) & 0xFFFFu);
}

void put_header(std::string& out, int cls, int id, int length) {
  put_word(out, (cls & 0xF) << 12 | (id & 0x7F) << 5 | (length & 0x1F));
}

void put_long_header(std::string& out, int cls, int id, int length) {
  put_header(out, cls, id, kLongForm);
  put_word(out, length & 0x7FFF);  // bit 15 clear: the parameters come in one piece
}

std::string description(int version, float library_version, std::string_view date) {
  // "dd.mm.yyyy" becomes "yyyymmdd".
  std::string digits;
  if (date.size() >= 10) {
    digits.append(date.substr(6, 4)).append(date.substr(3, 2)).append(date.substr(0, 2));
  }
  char source[16];
  std::snprintf(source, sizeof source, "%4.1f", static_cast<double>(library_version));
  char text[160];
  std::snprintf(text, sizeof text, "%c%s%c,%c%s%c,%c%s %s%c,%c%s%s%c,%c%s%c", '"',
                version == 1 ? "ProfileId:CALS" : "ProfileId:WebCGM", '"', '"', "ProfileEd:1.0",
                '"', '"', "Source:STYLUS", source, '"', '"', "Date:", digits.c_str(), '"', '"',
                "ColourClass:colour", '"');
  return text;
}

}  // namespace cgm

void qqcgm1(std::string& out, std::string_view text) {
  const std::size_t n = text.size() < 255 ? text.size() : 254;
  cgm::put_word(out, static_cast<int>(n) + 1);
  out.push_back(static_cast<char>(n));
  out.append(text.substr(0, n));
  if (n % 2 == 0) out.push_back('\0');
}

namespace {

constexpr RgbColor kBackground{255, 255, 255};

// A VDC coordinate: rounded, and cut to its low 16 bits when it lies outside their range.
std::int16_t vdc(float v) {
  return static_cast<std::int16_t>(round_point(v));
}

}  // namespace

CgmDriver::CgmDriver(PathEnd& last_point) : FileDriver(RecordKind::kBinary), path_(last_point) {}

void CgmDriver::emit(const std::string& bytes) {
  records_.append(bytes.data(), static_cast<int>(bytes.size()));
}

float CgmDriver::header(const DriverSetup& setup) {
  page_ = setup.page;
  scale_ = 2.0f * setup.page.user_scale;  // VDC units are half points
  file_name_ = setup.file_name;
  description_ = cgm::description(cgm::kVersion, setup.version, setup.date);
  inicgm();
  return scale_;
}

void CgmDriver::inicgm() {
  std::string b;
  cgm::put_header(b, 0, 1, cgm::kLongForm);  // BEGIN METAFILE
  qqcgm1(b, file_name_);
  cgm::put_header(b, 1, 1, 2);  // METAFILE VERSION
  cgm::put_word(b, cgm::kVersion);
  cgm::put_header(b, 1, 2, cgm::kLongForm);  // METAFILE DESCRIPTION
  qqcgm1(b, description_);
  cgm::put_header(b, 1, 11, 6);  // METAFILE ELEMENT LIST: the drawing-plus-control set
  cgm::put_word(b, 1);
  cgm::put_word(b, -1);
  cgm::put_word(b, 1);
  emit(b);
  picture_start();
}

void CgmDriver::picture_start() {
  std::string b;
  cgm::put_header(b, 0, 3, cgm::kLongForm);  // BEGIN PICTURE
  qqcgm1(b, "Picture 1");
  if (cgm::kVersion != 1) {
    cgm::put_header(b, 2, 1, 6);  // SCALING MODE
    for (int w : {0x0001, 0x3D4C, 0xCCC8}) cgm::put_word(b, w);
  }
  cgm::put_header(b, 2, 2, 2);  // COLOUR SELECTION MODE: direct
  cgm::put_word(b, 1);
  int nx = page_.nx, ny = page_.ny;
  if (page_.rotation == 1) std::swap(nx, ny);
  cgm::put_header(b, 2, 6, 8);  // VDC EXTENT
  cgm::put_word(b, 0);
  cgm::put_word(b, 0);
  cgm::put_word(b, round_point(static_cast<float>(nx) * scale_));
  cgm::put_word(b, round_point(static_cast<float>(ny) * scale_));
  cgm::put_header(b, 2, 7, 4);  // BACKGROUND COLOUR
  b.push_back(static_cast<char>(kBackground.r));
  b.push_back(static_cast<char>(kBackground.g));
  b.push_back(static_cast<char>(kBackground.b));
  b.push_back('\0');
  cgm::put_header(b, 0, 4, 0);  // BEGIN PICTURE BODY
  emit(b);
  // A reader starts every picture in a line colour of its own choosing (often white), and
  // the colour rule below writes a colour only when its number changes; so the picture
  // states the colour it draws in: at once when it is known, else with the session's
  // first colour, which follows right after the session start's header.
  if (colour_known_) {
    write_line_colour(colour_);
  } else {
    colour_due_ = true;
  }
}

void CgmDriver::write_line_colour(RgbColor rgb) {
  std::string b;
  cgm::put_header(b, 5, 4, 3);  // LINE COLOUR, direct, and a pad byte
  b.push_back(static_cast<char>(rgb.r));
  b.push_back(static_cast<char>(rgb.g));
  b.push_back(static_cast<char>(rgb.b));
  b.push_back('\0');
  emit(b);
  colour_due_ = false;
}

void CgmDriver::color(const ColorChange& change) {
  colour_ = change.rgb;
  colour_known_ = true;
  if (change.ncol == change.previous && !colour_due_) return;
  drwcgm(0.0f, 0.0f, kPenFlush);
  write_line_colour(change.rgb);
}

void CgmDriver::write_polyline() {
  std::string& b = polyline_;  // its room is kept from one polyline to the next
  b.clear();
  cgm::put_long_header(b, 4, 1, 4 * path_.count());  // POLYLINE
  for (int i = 0; i < path_.count(); ++i) {
    cgm::put_word(b, path_.x(i));
    cgm::put_word(b, path_.y(i));
  }
  emit(b);
}

// POLYGON in the current colour: the picture's interior style becomes solid with its first
// polygon (its edges stay invisible, the reader's default), the fill colour follows the
// line colour.
bool CgmDriver::polygon(const DevicePoint* points, int n) {
  drwcgm(0.0f, 0.0f, kPenFlush);
  std::string b;
  if (!solid_interior_) {
    cgm::put_header(b, 5, 22, 2);  // INTERIOR STYLE: solid
    cgm::put_word(b, 1);
    solid_interior_ = true;
  }
  if (!fill_known_ || fill_.r != colour_.r || fill_.g != colour_.g || fill_.b != colour_.b) {
    cgm::put_header(b, 5, 23, 3);  // FILL COLOUR, direct, and a pad byte
    b.push_back(static_cast<char>(colour_.r));
    b.push_back(static_cast<char>(colour_.g));
    b.push_back(static_cast<char>(colour_.b));
    b.push_back('\0');
    fill_ = colour_;
    fill_known_ = true;
  }
  cgm::put_long_header(b, 4, 7, 4 * n);  // POLYGON
  for (int i = 0; i < n; ++i) {
    cgm::put_word(b, vdc(points[i].x));
    cgm::put_word(b, vdc(points[i].y));
  }
  emit(b);
  return true;
}

void CgmDriver::drwcgm(float x, float y, int pen) {
  path_.add(vdc(x), vdc(y), pen, [this] { write_polyline(); });
}

void CgmDriver::end() {
  drwcgm(0.0f, 0.0f, kPenFlush);
  std::string b;
  cgm::put_header(b, 0, 5, 0);  // END PICTURE
  cgm::put_header(b, 0, 2, 0);  // END METAFILE
  emit(b);
}

std::unique_ptr<Driver> make_cgm_driver(const DeviceRecord& /*device*/, DriverMemory& memory) {
  return std::make_unique<CgmDriver>(memory.cgm);
}

}  // namespace stylus
