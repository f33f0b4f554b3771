// What every driver that writes a file has in common: the output file opened under the
// session's versioned name, the record buffer on top of the session's output, and files
// written whole at the end.
#pragma once

#include <memory>
#include <string_view>

#include "devices/byte_sink.h"
#include "devices/driver.h"
#include "devices/record_buffer.h"

namespace stylus {

// Opens metafile_name (already versioned) for writing; null after warning 36.
std::unique_ptr<ByteSink> open_output_file();
// Writes bytes as the whole file metafile_name (already versioned). 1 when written; 0
// after warning 36, with nothing left behind.
int write_output_file(std::string_view bytes);

// A driver that writes its format into the session's output while the session draws: the
// header at the start, records through the record buffer, end records at the end.
class FileDriver : public Driver {
 public:
  explicit FileDriver(RecordKind kind) : records_(nullptr, kind) {}

  // Takes the output (null: the records are formed and dropped) and writes the header.
  bool start(ByteSink* out) override;
  // Writes the end records and the pending record.
  int finish() override;
  RecordBuffer* records() override { return &records_; }

 protected:
  // The format's header, written after the output is open.
  virtual void header() {}
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
