// The shared part of the file drivers (see file_driver.h).
#include "devices/file_driver.h"

#include <cstdarg>

namespace stylus {

DriverStart FileDriver::start(const DriverSetup& setup) {
  out_ = setup.out;
  records_ = RecordBuffer(out_, records_.kind(), records_.record_length());
  return {header(setup), setup.options};
}

int FileDriver::finish(const DriverEnd& /*end*/) {
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
