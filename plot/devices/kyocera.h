// The Kyocera printer command file "KYOC": page set-up and one move or draw command per
// point, in printer dots, as text records.
#pragma once

#include <memory>

#include "devices/device_table.h"

namespace stylus {

std::unique_ptr<Driver> make_kyocera_driver(const DeviceRecord& device, DriverMemory& memory);

}  // namespace stylus
