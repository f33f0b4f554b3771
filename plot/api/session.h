// Internal pieces of the session start and end that other modules reuse.
#pragma once

#include "devices/device_table.h"

namespace stylus {

// Forgets the error file of a session in progress and the calling thread's choices
// (process reset); nothing is kept.
void reset_session_files();

// The level-0 choices of the calling thread (metafl, setpag, winini), noted when made: its
// next disini makes them again, so that what other threads choose meanwhile does not change
// the session it opens.
void note_device_choice();
void note_page_choice();

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
