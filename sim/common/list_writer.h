// List-directed record writer: the result lines are built as a record of text and
// number items, at most 80 characters long, and written to a stream line by line.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

// The text of one single-precision number item: a blank, "-" or a blank, then the
// magnitude by "%.9G" with a point inserted when the digits have none ("  0." for zero).
std::string list_real(float value);

class ListWriter {
 public:
  static constexpr std::size_t kRecordLength = 80;

  explicit ListWriter(std::ostream& out) : out_(out) {}
  ListWriter(const ListWriter&) = delete;
  ListWriter& operator=(const ListWriter&) = delete;
  ~ListWriter();

  // A text item, unchanged; one blank goes before it only when it begins a record.
  ListWriter& text(std::string_view s);
  // A number item (list_real).
  ListWriter& real(float value);
  // Ends the record: writes it and a newline. A writer destroyed with items pending
  // ends its record itself.
  void end();

 private:
  void begin_item(std::size_t length);

  std::ostream& out_;
  std::string record_;
  bool open_ = false;  // an item has been written since the last end()
};
