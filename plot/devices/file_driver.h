// What every driver that writes records into the session's output has in common: the
// record buffer on top of the output, the header at the start and the end records at the
// end.
#pragma once

#include <string_view>

#include "devices/byte_sink.h"
#include "devices/driver.h"
#include "devices/record_buffer.h"

namespace stylus {

// A driver that writes its format into the session's output while the session draws: the
// header at the start, records through the record buffer, end records at the end.
class FileDriver : public Driver {
 public:
  explicit FileDriver(RecordKind kind) : records_(nullptr, kind) {}

  // Takes the output (null: the records are formed and dropped) and writes the header.
  DriverStart start(const DriverSetup& setup) override;
  // Writes the end records and the pending record.
  int finish(const DriverEnd& end) override;
  RecordBuffer* records() override { return &records_; }

 protected:
  // The format's header, written after the output is open; returns the page scale.
  virtual float header(const DriverSetup& setup) = 0;
  // The format's end records, written before the pending record.
  virtual void end() {}

  // Writes straight to the output, around the record buffer (headers).
  void put(std::string_view text);
  void format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));

  RecordBuffer records_;

 private:
  ByteSink* out_ = nullptr;
};

}  // namespace stylus
