// The result line: three text items and two numbers in one list-directed record.
#include "sim/common/scan_result.h"

#include "sim/common/list_writer.h"

void write_result_line(std::ostream& out, float separation, float energy) {
  ListWriter w(out);
  w.text("separacia = ").real(separation).text("  energia = ").real(energy).text("eV");
  w.end();
}
