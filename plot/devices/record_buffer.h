// The output record buffer of the file devices: text records of at most 80 characters
// that never split an item, fixed 80-byte binary records (CGM), and the blank-ended tokens
// of the PostScript writer. A plain object over a byte sink, owned by its driver.
#pragma once

#include <cstring>

#include "devices/byte_sink.h"

namespace stylus {

enum class RecordKind {
  kText,    // records end with a line end; an item never spans two records
  kBinary,  // records of exactly the record length; items run on into the next record
};

class RecordBuffer {
 public:
  static constexpr int kCapacity = 88;

  // Without a sink the records are formed and dropped.
  RecordBuffer(ByteSink* sink, RecordKind kind, int record_length = 80);

  // Appends n bytes: a text item that does not fit starts the next record (one longer
  // than a record is cut into record-sized pieces); binary bytes fill every record to the
  // last byte. A record that is exactly full is written when more comes or at flush().
  void append(const char* text, int n);
  // Appends the blank-ended tokens of text (the blank belongs to the token); a token that
  // is only a blank is dropped, and so is what follows the last blank or a zero byte.
  void append_tokens(const char* text, int n);
  // Appends one token that ends in its blank (n >= 2), as append_tokens does with it.
  void append_token(const char* token, int n) { append_item(token, n); }
  // Writes the pending record: text with a line end, binary padded with blanks.
  void flush();

  int fill() const { return fill_; }
  int record_length() const { return len_; }
  RecordKind kind() const { return kind_; }

 private:
  void add(const char* text, int n) {
    std::memcpy(buf_ + fill_, text, static_cast<std::size_t>(n));
    fill_ += n;
  }
  void write_text_record();
  void write_binary_record();
  // Appends one text item: it starts the next record when it does not fit.
  void append_item(const char* text, int n) {
    if (fill_ + n > len_) {
      append_long_item(text, n);
      return;
    }
    add(text, n);
  }
  void append_long_item(const char* text, int n);

  ByteSink* sink_;
  RecordKind kind_;
  int len_;
  int fill_ = 0;
  char buf_[kCapacity + 1] = {};  // room for the line end of a full text record
};

}  // namespace stylus
