// The record buffer of the file devices (see record_buffer.h).
#include "devices/record_buffer.h"

#include <cstring>

#include "devices/driver.h"

namespace stylus {

RecordBuffer::RecordBuffer(ByteSink* sink, RecordKind kind, int record_length)
    : sink_(sink),
      kind_(kind),
      len_(record_length > 0 && record_length <= kCapacity ? record_length : kCapacity) {}

void RecordBuffer::write_text_record() {
  if (sink_ != nullptr && fill_ > 0) {
    buf_[fill_] = '\n';
    sink_->write(buf_, static_cast<std::size_t>(fill_) + 1);
  }
  fill_ = 0;
}

void RecordBuffer::write_binary_record() {
  if (sink_ != nullptr) sink_->write(buf_, static_cast<std::size_t>(len_));
  fill_ = 0;
}

void RecordBuffer::append_long_item(const char* text, int n) {
  write_text_record();
  while (n > len_) {
    add(text, len_);
    write_text_record();
    text += len_;
    n -= len_;
  }
  add(text, n);
}

void RecordBuffer::append(const char* text, int n) {
  if (text == nullptr || n <= 0) return;
  if (kind_ == RecordKind::kText) {
    append_item(text, n);
    return;
  }
  while (fill_ + n > len_) {
    const int part = len_ - fill_;
    add(text, part);
    write_binary_record();
    text += part;
    n -= part;
  }
  add(text, n);
}

void RecordBuffer::append_tokens(const char* text, int n) {
  if (text == nullptr) return;
  int start = 0;
  for (int i = 0; i < n && text[i] != '\0'; ++i) {
    if (text[i] != ' ') continue;
    const int token_len = i + 1 - start;
    // Leading blanks of numbers make single-blank tokens; they are dropped.
    if (token_len > 1) append_item(text + start, token_len);
    start = i + 1;
  }
}

void RecordBuffer::flush() {
  if (fill_ <= 0) return;
  if (kind_ == RecordKind::kBinary) {
    std::memset(buf_ + fill_, ' ', static_cast<std::size_t>(len_ - fill_));
    write_binary_record();
  } else {
    write_text_record();
  }
}

}  // namespace stylus
