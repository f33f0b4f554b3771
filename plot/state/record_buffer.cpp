// The output record buffer CBUF of the file devices: text records of at most rec_len
// characters that never split an item, exact rec_len-byte records for the binary CGM, and
// the blank-ended tokens of the PostScript writer. Nothing is written without a stream.
#include "state/record_buffer.h"

#include <cstdio>
#include <cstring>

#include "state/state.h"

namespace stylus {
namespace {

constexpr int kCgmDevice = 211;

bool binary_records() {
  return g_ivray.device == kCgmDevice;
}

// The record length in use, never beyond the buffer.
int record_length() {
  const int len = g_ivray.rec_len;
  if (len <= 0 || len > static_cast<int>(sizeof(CBUF))) return static_cast<int>(sizeof(CBUF));
  return len;
}

// Writes the pending bytes as a text record (with a line end) and empties the buffer.
void write_text_record() {
  std::FILE* out = g_control.out_stream;
  if (out != nullptr && g_ivray.rec_fill > 0) {
    std::fwrite(CBUF, 1, static_cast<std::size_t>(g_ivray.rec_fill), out);
    std::fputc('\n', out);
  }
  g_ivray.rec_fill = 0;
}

// Writes one full binary record of exactly len bytes and empties the buffer.
void write_binary_record(int len) {
  std::FILE* out = g_control.out_stream;
  if (out != nullptr) std::fwrite(CBUF, 1, static_cast<std::size_t>(len), out);
  g_ivray.rec_fill = 0;
}

void append(const char* text, int n) {
  std::memcpy(CBUF + g_ivray.rec_fill, text, static_cast<std::size_t>(n));
  g_ivray.rec_fill += n;
}

// Appends one item of a text format: it starts a new record when it does not fit; an item
// longer than a whole record is cut into record-sized pieces.
void append_item(const char* text, int n) {
  const int len = record_length();
  if (g_ivray.rec_fill < 0 || g_ivray.rec_fill > len) g_ivray.rec_fill = 0;
  if (g_ivray.rec_fill + n > len) write_text_record();
  while (n > len) {
    append(text, len);
    write_text_record();
    text += len;
    n -= len;
  }
  append(text, n);
}

}  // namespace

void qqsbuf(const char* text, int n) {
  if (text == nullptr || n <= 0) return;
  if (!binary_records()) {
    append_item(text, n);
    return;
  }
  // Binary records are filled to the last byte; the text runs on into the next record. A
  // full record is written when the next byte arrives or at the end.
  const int len = record_length();
  if (g_ivray.rec_fill < 0 || g_ivray.rec_fill > len) g_ivray.rec_fill = 0;
  while (g_ivray.rec_fill + n > len) {
    const int part = len - g_ivray.rec_fill;
    append(text, part);
    write_binary_record(len);
    text += part;
    n -= part;
  }
  append(text, n);
}

void qpsbuf(const char* text, int n) {
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

void qqsflush() {
  if (g_ivray.rec_fill <= 0) {
    g_ivray.rec_fill = 0;
    return;
  }
  if (binary_records()) {
    const int len = record_length();
    if (g_ivray.rec_fill > len) g_ivray.rec_fill = len;
    std::memset(CBUF + g_ivray.rec_fill, ' ', static_cast<std::size_t>(len - g_ivray.rec_fill));
    write_binary_record(len);
  } else {
    write_text_record();
  }
}

}  // namespace stylus
