// The text metafile "GKSL", the library's default device: a header line with the page
// size in centimetres, then 80-character records of 10-character fields holding device
// points from 0 to 1 (y up), pen codes, colour numbers and the end mark.
#pragma once

#include <memory>
#include <string>

#include "devices/device_table.h"
#include "devices/file_driver.h"

namespace stylus {

// The fields that select colour number ncol: c = ncol (256 for colour 0) written as k
// fields "99.0000000" and one field 9 + r, where c = 89 k + r and r is 1..89.
std::string gksl_color_fields(int ncol);

class GkslDriver final : public FileDriver {
 public:
  GkslDriver() : FileDriver(RecordKind::kText) {}

  void point(const DevicePoint& p, int pen) override;
  void color(const ColorChange& change) override;

 protected:
  float header(const DriverSetup& setup) override;
  void end() override;

 private:
  int last_pen_ = 0;  // pen code of the last pen field written; 0 before the first
};

}  // namespace stylus
