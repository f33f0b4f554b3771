// The device table: one record per keyword of metafl with everything that differs between
// devices (code, class, file name and output, colour rules, who draws line widths, the
// driver). The session, colour, clip and pen code ask this record; no code outside the
// drivers compares device codes. A new device is one driver file and one row here.
#pragma once

#include <memory>

#include "devices/driver.h"

namespace stylus {

// How the session start treats the output file of a device.
enum class FileOutput {
  kWindow,  // a screen window: no file, the metafile name is left alone
  kNone,    // no file (the in-memory raster); the name is "stylus." + extension
  kStream,  // named, versioned and written by the driver while the session draws
  kAtEnd,   // named and versioned; the driver writes the file at the session end
};

// The end point of the last path of a path-buffering driver; it outlives the session, so a
// draw without a move in the next session continues from there.
struct PathEnd {
  int x = 0, y = 0;
};

// What drivers keep from one session to the next.
struct DriverMemory {
  PathEnd postscript;
  PathEnd cgm;
};

struct DeviceRecord;
using DriverFactory = std::unique_ptr<Driver> (*)(const DeviceRecord& device, DriverMemory& memory);

struct DeviceRecord {
  const char* keyword;  // four characters, blank-padded
  int code;
  DeviceClass cls;
  const char* extension = "";  // of the default file name "stylus." + extension
  FileOutput output = FileOutput::kStream;
  int default_table = 1;            // colour table loaded by the session start (1 RAIN, 6 RGRE)
  bool white_paper = false;         // rainbow, spectrum or grey table: FORE 0, BACK 255
  bool white_maps_to_zero = false;  // and the name WHIT selects colour 0
  bool small_swapped = false;       // SMAL with entries 0 and 1 exchanged: 0 white, 1 black
  bool small_only = false;          // the colour table is always SMAL
  bool draws_widths = false;        // the device draws line widths: only centre lines sent
  bool pixel_clip_margin = false;   // the axis clip keeps a device pixel clear of the frame
  bool end_at_origin = false;       // the session ends with a pen move to the page origin
  bool keeps_picture = false;       // the driver hands its picture to rimage, rtiff, rpng
  bool pixels = false;              // the device draws pixels: wide lines are filled by rows
  // A parameter of the driver's variant, read by its factory: the window 1..5 of a screen,
  // the sheet 1..4 of a plotter (0 none), 1 for PostScript on black, the image format of a
  // raster (ImageFormat + 1, 0 none).
  int variant = 0;
  DriverFactory factory = nullptr;  // null: no driver; disini refuses the device
};

// The keyword list of metafl ("GKSL+CGM +..."), its length in keywords, and the record of
// the k-th keyword (1-based).
const char* device_keyword_list();
int device_keyword_count();
const DeviceRecord& device_at(int k);

// The screen window that the keywords MET1 to MET9 select (the row of "CONS").
const DeviceRecord& console_device();
// The library's default device ("GKSL", the first row).
const DeviceRecord& default_device();

// The record of a device code (the first keyword with that code); null for a code no
// keyword has.
const DeviceRecord* find_device(int code);
// The record of the current device (g_ivray.device); a record without driver and class
// kNone when the code has no keyword.
const DeviceRecord& current_device();

// Makes the driver for a device code, or null when the device has no driver.
std::unique_ptr<Driver> make_driver(int device);
// Replaces the table's factories for make_driver (tests); null restores them.
void set_driver_factory(std::unique_ptr<Driver> (*factory)(int device));

// The drivers' memory between sessions.
DriverMemory& driver_memory();
// Forgets the session's driver, the factory override and the drivers' memory.
void reset_device_table();

}  // namespace stylus
