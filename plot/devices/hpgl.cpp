// The HPGL plotter files: "HPGL" in plotter units of 0.025 mm, and "HPA4" to "HPA1" fitted
// to a sheet of that size.
// The HPGL plotter files: a pen selection written directly, then pen-up and pen-down moves
// and pen changes as text records. "HPGL" draws 4 plotter units per point; "HPA4" to
// "HPA1" fit the page onto their sheet (a portrait page turned onto the landscape sheet by
// the device points of their class), never larger than "HPGL".
#include <algorithm>
#include <cstdio>
#include <iterator>

#include "devices/device_table.h"
#include "devices/file_driver.h"
#include "records/number_text.h"

namespace stylus {
namespace {

constexpr float kUnitsPerPoint = 4.0f;

// Sheet extents in plotter units.
struct Sheet {
  float long_side, short_side;
};
constexpr Sheet kSheets[] = {
    {10870.0f, 7600.0f},   // HPA4 (402)
    {15970.0f, 10870.0f},  // HPA3
    {21360.0f, 13440.0f},  // HPA2
    {30280.0f, 21360.0f},  // HPA1 (405)
};

class HpglDriver final : public FileDriver {
 public:
  // sheet: null for "HPGL", which keeps its fixed scale.
  explicit HpglDriver(const Sheet* sheet) : FileDriver(RecordKind::kText), sheet_(sheet) {}

  // "%s%d,%d;" with "PD" or "PU".
  void point(const DevicePoint& p, int pen) override {
    char item[2 * kNumberTextSize];
    item[0] = 'P';
    item[1] = pen == kPenDraw ? 'D' : 'U';
    int n = 2 + int_text(item + 2, p.ix);
    item[n++] = ',';
    n += int_text(item + n, p.iy);
    item[n++] = ';';
    records_.append(item, n);
  }
  // A pen is selected only when the colour number really changes.
  void color(const ColorChange& change) override {
    if (change.ncol == change.previous) return;
    char item[24];
    const int n = std::snprintf(item, sizeof item, "SP%d;", change.ncol);
    records_.append(item, n);
  }

 protected:
  float header(const DriverSetup& setup) override {
    put(" SP1;\n");
    const float u = setup.page.user_scale;
    float scale = kUnitsPerPoint * u;
    if (sheet_ != nullptr) {
      const float nx = static_cast<float>(setup.page.nx);
      const float ny = static_cast<float>(setup.page.ny);
      scale = std::min(sheet_->long_side / std::max(nx, ny), sheet_->short_side / std::min(nx, ny));
    }
    return std::min(scale, kUnitsPerPoint * u);
  }
  void end() override { records_.append("PU0,0;", 6); }

 private:
  const Sheet* sheet_;
};

}  // namespace

std::unique_ptr<Driver> make_hpgl_driver(const DeviceRecord& device, DriverMemory& /*memory*/) {
  // "HPA4" to "HPA1" are the sheets 1 to 4; "HPGL" has none.
  const int k = device.variant - 1;
  const Sheet* sheet = k >= 0 && k < static_cast<int>(std::size(kSheets)) ? &kSheets[k] : nullptr;
  return std::make_unique<HpglDriver>(sheet);
}

}  // namespace stylus
