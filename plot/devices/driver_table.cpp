// The device-code ranges of the library and the driver class that serves each range.
// Adding a device is one new driver file and one new row here.
#include "devices/driver.h"

#include <array>
#include <utility>

#include "devices/postscript.h"
#include "devices/screen_driver.h"

namespace stylus {
namespace {

struct DeviceRange {
  int lo, hi;  // inclusive
  DeviceClass cls;
  DriverFactory factory;  // null: the class has no driver (yet); disini refuses it
};

constexpr std::array kDeviceRanges{
    DeviceRange{0, 100, DeviceClass::kScreen, make_screen_driver},
    DeviceRange{101, 200, DeviceClass::kTerminal, nullptr},
    DeviceRange{201, 201, DeviceClass::kGksl, nullptr},
    DeviceRange{211, 211, DeviceClass::kCgm, nullptr},
    DeviceRange{221, 221, DeviceClass::kWmf, nullptr},
    DeviceRange{301, 400, DeviceClass::kKyocera, nullptr},
    DeviceRange{401, 401, DeviceClass::kHpgl, nullptr},
    DeviceRange{402, 500, DeviceClass::kHpglSheet, nullptr},
    DeviceRange{501, 600, DeviceClass::kPostScript, make_postscript_driver},
    DeviceRange{601, 700, DeviceClass::kRaster, nullptr},
    DeviceRange{701, 701, DeviceClass::kJava, nullptr},
};

constexpr bool ranges_sorted_and_disjoint() {
  for (std::size_t i = 0; i < kDeviceRanges.size(); ++i) {
    if (kDeviceRanges[i].lo > kDeviceRanges[i].hi) return false;
    if (i > 0 && kDeviceRanges[i - 1].hi >= kDeviceRanges[i].lo) return false;
  }
  return true;
}
static_assert(ranges_sorted_and_disjoint(), "device ranges must be sorted and disjoint");

constexpr const DeviceRange* find_range(int device) {
  for (const DeviceRange& r : kDeviceRanges) {
    if (device < r.lo) return nullptr;
    if (device <= r.hi) return &r;
  }
  return nullptr;
}
static_assert(find_range(80)->cls == DeviceClass::kScreen);
static_assert(find_range(501)->cls == DeviceClass::kPostScript);
static_assert(find_range(202) == nullptr && find_range(702) == nullptr);

std::unique_ptr<Driver> g_driver;
DriverFactory g_factory_override = nullptr;

}  // namespace

DeviceClass device_class(int device) {
  const DeviceRange* r = find_range(device);
  return r ? r->cls : DeviceClass::kNone;
}

Driver* current_driver() {
  return g_driver.get();
}

void set_current_driver(std::unique_ptr<Driver> driver) {
  g_driver = std::move(driver);
}

std::unique_ptr<Driver> make_driver(int device) {
  if (g_factory_override) return g_factory_override(device);
  const DeviceRange* r = find_range(device);
  if (r == nullptr || r->factory == nullptr) return nullptr;
  return r->factory(device);
}

void set_driver_factory(DriverFactory factory) {
  g_factory_override = factory;
}

}  // namespace stylus
