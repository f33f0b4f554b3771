// The number format and the 80-character record rule of the list-directed writer.
#include "sim/common/list_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

std::string list_real(float value) {
  const double v = value;
  if (v == 0.0) return "  0.";
  std::string out = std::signbit(v) ? " -" : "  ";
  const double magnitude = std::fabs(v);
  if (std::isnan(v)) return out + "NaN";
  if (std::isinf(v)) return out + "Infinity";
  char digits[40];
  std::snprintf(digits, sizeof digits, "%.9G", magnitude);
  const std::string_view text = digits;
  if (text.find('.') != std::string_view::npos) return out.append(text);
  // No point in the digits: it goes before the exponent, or at the end.
  const std::size_t e = std::min(text.find('E'), text.size());
  return out.append(text.substr(0, e)).append(".").append(text.substr(e));
}

ListWriter::~ListWriter() {
  if (open_) end();
}

void ListWriter::begin_item(std::size_t length) {
  // An item that would bring the record to 80 characters or more starts a new line;
  // an empty record takes any item, so no blank lines are produced.
  if (!record_.empty() && record_.size() + length >= kRecordLength) {
    out_ << record_ << '\n';
    record_.clear();
  }
  open_ = true;
}

ListWriter& ListWriter::text(std::string_view s) {
  begin_item(s.size());
  if (record_.empty()) record_ += ' ';
  record_ += s;
  return *this;
}

ListWriter& ListWriter::real(float value) {
  const std::string item = list_real(value);
  begin_item(item.size());
  record_ += item;
  return *this;
}

void ListWriter::end() {
  out_ << record_ << '\n';
  record_.clear();
  open_ = false;
}
