// The shared part of the SVG and PDF drivers (see vector_driver.h).
#include "devices/vector_driver.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "records/number_text.h"

namespace stylus {

float vector_line_width(int width) {
  const int units = 2 * width < 5 ? 5 : 2 * width;
  return static_cast<float>(units) * 7.0f / 13.0f;
}

std::string vector_number(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  std::string s(buf);
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  if (s == "-0") s = "0";
  return s;
}

char* write_vector_number(char* out, float v) {
  // The coordinates of a page: v times 100 is exact in a double, and its rounding to a
  // whole number, halves to even, is that of "%.2f"; the text is written directly.
  if (std::fabs(v) < 1e7f) {
    const double scaled = std::fabs(static_cast<double>(v) * 100.0);
    auto whole = static_cast<unsigned long long>(scaled);
    const double rest = scaled - static_cast<double>(whole);  // exact
    if (rest > 0.5 || (rest == 0.5 && (whole & 1) != 0)) ++whole;
    if (whole == 0) {
      *out = '0';
      return out + 1;
    }
    char text[24];
    char* end = text + sizeof text;
    char* p = end;
    unsigned long long a = whole;
    const unsigned fraction = static_cast<unsigned>(a % 100);
    a /= 100;
    if (fraction != 0) {
      if (fraction % 10 != 0) *--p = static_cast<char>('0' + fraction % 10);
      *--p = static_cast<char>('0' + fraction / 10);
      *--p = '.';
    }
    do {
      *--p = static_cast<char>('0' + a % 10);
      a /= 10;
    } while (a != 0);
    if (v < 0.0f) *--p = '-';
    const auto n = static_cast<std::size_t>(end - p);
    std::memcpy(out, p, n);
    return out + n;
  }
  char text[kNumberTextSize];
  int n = fixed_text(text, v, 2, 0);
  if (std::memchr(text, '.', static_cast<std::size_t>(n)) != nullptr) {
    while (text[n - 1] == '0') --n;
    if (text[n - 1] == '.') --n;
  }
  if (n == 2 && text[0] == '-' && text[1] == '0') {
    *out = '0';
    return out + 1;
  }
  std::memcpy(out, text, static_cast<std::size_t>(n));
  return out + n;
}

void append_vector_number(std::string& out, float v) {
  char text[kVectorNumberSize];
  out.append(text, static_cast<std::size_t>(write_vector_number(text, v) - text));
}

DriverStart VectorDriver::start(const DriverSetup& setup) {
  out_ = setup.out;
  header(setup);
  return {1.0f, setup.options};
}

void VectorDriver::close_polyline() {
  if (in_polyline_) end_polyline();
  in_polyline_ = false;
}

void VectorDriver::point(const DevicePoint& p, int pen) {
  // A point that is no number cannot be written: it ends the polyline, and the next draw
  // starts where it is given.
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
    close_polyline();
    have_last_ = false;
    return;
  }
  if (pen != kPenDraw) {
    if (in_polyline_ && p.x == last_x_ && p.y == last_y_) return;
    close_polyline();
  } else {
    if (!in_polyline_) {
      if (!in_group_ || !(group_pen_ == pen_)) {
        if (in_group_) end_group();
        begin_group(pen_);
        group_pen_ = pen_;
        in_group_ = true;
      }
      // A draw without a move continues from the last point.
      begin_polyline(have_last_ ? last_x_ : p.x, have_last_ ? last_y_ : p.y);
      in_polyline_ = true;
    }
    line_to(p.x, p.y);
  }
  last_x_ = p.x;
  last_y_ = p.y;
  have_last_ = true;
}

void VectorDriver::color(const ColorChange& change) {
  close_polyline();
  pen_.rgb = change.rgb;
}

void VectorDriver::line_width(int width) {
  close_polyline();
  pen_.width = vector_line_width(width);
}

bool VectorDriver::polygon(const DevicePoint* points, int n) {
  for (int i = 0; i < n; ++i)
    if (!std::isfinite(points[i].x) || !std::isfinite(points[i].y)) return true;
  close_polyline();
  if (in_group_) end_group();
  in_group_ = false;
  fill_polygon(points, n, pen_.rgb);
  return true;
}

int VectorDriver::finish(const DriverEnd& /*end*/) {
  close_polyline();
  if (in_group_) end_group();
  in_group_ = false;
  footer();
  return 1;
}

}  // namespace stylus
