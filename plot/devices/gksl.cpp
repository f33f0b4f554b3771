// The GKSL writer: the header line written directly, everything after it through the
// text records.
#include "devices/gksl.h"

#include <algorithm>
#include <cstdio>

#include "devices/device_table.h"
#include "records/number_text.h"

namespace stylus {

namespace {

constexpr int kField = 10;
constexpr float kPointsPerUnit = 100.0f;  // page points per header unit (centimetres)
constexpr char kDrawField[] = " 2.0000000";
constexpr char kMoveField[] = " 3.0000000";
constexpr char kColourStep[] = "99.0000000";
constexpr char kEndField[] = " 9.0000000";

}  // namespace

std::string gksl_color_fields(int ncol) {
  const int c = ncol == 0 ? 256 : ncol;
  int k = c / 89;
  int r = c % 89;
  if (r == 0) {
    r = 89;
    --k;
  }
  std::string fields;
  for (int i = 0; i < k; ++i) fields += kColourStep;
  char last[32];
  std::snprintf(last, sizeof last, "%10.7f", static_cast<double>(9 + r));
  return fields + last;
}

float GkslDriver::header(const DriverSetup& setup) {
  const float u = setup.page.user_scale;
  const float w = static_cast<float>(setup.page.nx);
  const float h = static_cast<float>(setup.page.ny);
  const float first = setup.page.rotation == 1 ? h : w;
  const float second = setup.page.rotation == 1 ? w : h;
  format("%10.1f%10.1f\n", static_cast<double>(first * u / kPointsPerUnit),
         static_cast<double>(second * u / kPointsPerUnit));
  // Device coordinates run from 0 to 1 along the longer side of the page.
  return 1.0f / std::max(w, h);
}

void GkslDriver::point(const DevicePoint& p, int pen) {
  // "%10.7f%10.7f" of the two, cut to 63 characters as a 64-byte buffer would hold them.
  char text[2 * kNumberTextSize];
  int n = fixed_text(text, p.x, 7, 10);
  n += fixed_text(text + n, p.y, 7, 10);
  records_.append(text, std::min(n, 63));
  if (pen != last_pen_) {
    records_.append(pen == kPenDraw ? kDrawField : kMoveField, kField);
    last_pen_ = pen;
  }
}

void GkslDriver::color(const ColorChange& change) {
  if (change.ncol == change.previous) return;
  const std::string fields = gksl_color_fields(change.ncol);
  for (std::size_t at = 0; at < fields.size(); at += kField)
    records_.append(fields.data() + at, kField);
}

void GkslDriver::end() {
  records_.append(kEndField, kField);
  last_pen_ = 0;
}

std::unique_ptr<Driver> make_gksl_driver(const DeviceRecord& /*device*/, DriverMemory& /*memory*/) {
  return std::make_unique<GkslDriver>();
}

}  // namespace stylus
