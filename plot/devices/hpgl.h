// The HPGL plotter files: "HPGL" in plotter units of 0.025 mm, and "HPA4" to "HPA1" fitted
// to a sheet of that size.
#pragma once

#include <memory>

#include "devices/device_table.h"

namespace stylus {

std::unique_ptr<Driver> make_hpgl_driver(const DeviceRecord& device, DriverMemory& memory);

}  // namespace stylus
