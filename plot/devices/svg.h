// The vector-file device "SVG": a standalone SVG 1.1 picture of the whole page for web
// pages and documents.
#pragma once

#include <memory>

#include "devices/device_table.h"

namespace stylus {

std::unique_ptr<Driver> make_svg_driver(const DeviceRecord& device, DriverMemory& memory);

}  // namespace stylus
