// The shared part of the file drivers (see file_driver.h).
#include "devices/file_driver.h"

#include <cstdarg>

#include "state/messages.h"
#include "state/state.h"

namespace stylus {

std::unique_ptr<ByteSink> open_output_file() {
  std::unique_ptr<ByteSink> sink = FileSink::create(g_control.metafile_name);
  if (!sink) warnc1(36, g_control.metafile_name);
  return sink;
}

int write_output_file(std::string_view bytes) {
  if (write_whole_file(g_control.metafile_name, bytes)) return 1;
  warnc1(36, g_control.metafile_name);
  return 0;
}

bool FileDriver::start(ByteSink* out) {
  out_ = out;
  records_ = RecordBuffer(out, records_.kind(), records_.record_length());
  header();
  return true;
}

int FileDriver::finish() {
  end();
  records_.flush();
  return 1;
}

void FileDriver::put(std::string_view text) {
  if (out_ != nullptr) out_->put(text);
}

void FileDriver::format(const char* fmt, ...) {
  if (out_ == nullptr) return;
  va_list args;
  va_start(args, fmt);
  out_->vformat(fmt, args);
  va_end(args);
}

}  // namespace stylus
