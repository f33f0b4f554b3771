// A Windows metafile read back record by record: the header's fields and each record's
// function number and parameter words, for tests that walk a written file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "devices/byte_order.h"

struct WmfRecord {
  std::uint32_t words;  // the record's size field
  std::uint16_t function;
  std::string params;
  // The i-th parameter word, signed.
  int word(std::size_t i) const {
    return static_cast<std::int16_t>(stylus::get_u16_le(params, 2 * i));
  }
};

struct WmfFile {
  std::uint16_t type = 0, header_words = 0, version = 0, objects = 0, members = 0;
  std::uint32_t size_words = 0, max_record = 0;
  std::vector<WmfRecord> records;  // up to and including the end-of-file record
  std::string error;               // empty when every record lies within the file
};

inline WmfFile read_wmf(const std::string& bytes) {
  using stylus::get_u16_le, stylus::get_u32_le;
  WmfFile f;
  if (bytes.size() < 18) return f.error = "no header", f;
  f.type = get_u16_le(bytes, 0);
  f.header_words = get_u16_le(bytes, 2);
  f.version = get_u16_le(bytes, 4);
  f.size_words = get_u32_le(bytes, 6);
  f.objects = get_u16_le(bytes, 10);
  f.max_record = get_u32_le(bytes, 12);
  f.members = get_u16_le(bytes, 16);
  std::size_t at = 18;
  while (f.records.empty() || f.records.back().function != 0) {
    if (at + 6 > bytes.size()) return f.error = "no end-of-file record", f;
    const std::uint32_t words = get_u32_le(bytes, at);
    if (words < 3 || at + 2 * std::size_t{words} > bytes.size())
      return f.error = "record size " + std::to_string(words) + " at " + std::to_string(at), f;
    f.records.push_back({words, static_cast<std::uint16_t>(get_u16_le(bytes, at + 4)),
                         bytes.substr(at + 6, 2 * std::size_t{words} - 6)});
    at += 2 * std::size_t{words};
  }
  if (at != bytes.size()) f.error = "bytes after the end-of-file record";
  return f;
}
