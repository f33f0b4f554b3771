// The Kyocera printer command file "KYOC": page set-up and one move or draw command per
// point, in printer dots, as text records.
// The Kyocera printer command file: the page set-up in centimetres, then printer dots, one
// "MAP" (move) or "DAP" (draw) command per point. The printer has no colours: the colour
// table stays SMAL and colour changes write nothing.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "devices/device_table.h"
#include "devices/file_driver.h"
#include "records/number_text.h"

namespace stylus {
namespace {

// The printable sheet in dots (300 dots per inch).
constexpr float kSheetLong = 3390.0f;
constexpr float kSheetShort = 2362.0f;

class KyoceraDriver final : public FileDriver {
 public:
  KyoceraDriver() : FileDriver(RecordKind::kText) {}

  // A whole command is one item, so a record never separates it from its coordinates.
  // "%s%4d,%4d;" with "DAP " or "MAP ".
  void point(const DevicePoint& p, int pen) override {
    char item[2 * kNumberTextSize];
    std::memcpy(item, pen == kPenDraw ? "DAP " : "MAP ", 4);
    int n = 4 + int_text(item + 4, p.ix, 4);
    item[n++] = ',';
    n += int_text(item + n, p.iy, 4);
    item[n++] = ';';
    records_.append(item, n);
  }

 protected:
  float header(const DriverSetup& setup) override {
    const float w = static_cast<float>(setup.page.nx);
    const float h = static_cast<float>(setup.page.ny);
    float scale;
    if (h < w) {
      append("!R! UNIT C;SPO L;SLM 0;");
      append("SRM 28.7;STM 0;SBM 20;");
      scale = std::min(kSheetLong / w, kSheetShort / h);
    } else {
      append("!R! UNIT C;SPO P;SLM 0;");
      append("SRM 20;STM 0;SBM 28.7;");
      scale = std::min(kSheetShort / w, kSheetLong / h);
    }
    append("UNIT D;");
    // A page point is at most 0.1 mm on paper (times the user scale).
    return std::min(scale, 300.0f * setup.page.user_scale / 254.0f);
  }
  void end() override { append("RES;EXIT;"); }

 private:
  void append(std::string_view item) {
    records_.append(item.data(), static_cast<int>(item.size()));
  }
};

}  // namespace

std::unique_ptr<Driver> make_kyocera_driver(const DeviceRecord& /*device*/,
                                            DriverMemory& /*memory*/) {
  return std::make_unique<KyoceraDriver>();
}

}  // namespace stylus
