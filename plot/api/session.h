// Internal pieces of the session start and end that other modules reuse.
#pragma once

#include "devices/device_table.h"

namespace stylus {

// Forgets the error file of a session in progress (process reset); nothing is kept.
void reset_session_files();

// Makes the library's default device ("GKSL") the current device, with its keyword as the
// device name.
void use_default_device();

// Rebuilds the colour cycle of successive curves from the colour-name map.
void build_color_cycle();

// What a driver of the device in row is told at the start of a session with the current
// plot state (page, options, file name, date and time), out being the session's output.
DriverSetup session_setup(const DeviceRecord* row, ByteSink* out);
// Starts the driver with session_setup and keeps what it returns: the page scale and the
// options.
void start_driver(Driver& driver, const DeviceRecord* row, ByteSink* out);

}  // namespace stylus
