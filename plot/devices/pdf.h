// The vector-file device "PDF": a single-page PDF 1.4 file of the whole page for papers
// and printing, written by a small writer of its own (objects, cross-reference table,
// trailer) with the drawing deflated by zlib.
#pragma once

#include <memory>

#include "devices/device_table.h"

namespace stylus {

std::unique_ptr<Driver> make_pdf_driver(const DeviceRecord& device, DriverMemory& memory);

}  // namespace stylus
