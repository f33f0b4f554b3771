// The DEC sixel picture as the terminal and printer devices write it: a device control string
// with its protocol selector and raster attributes, colour register definitions, then the
// picture in bands of six rows, one pass per colour register, runs of equal sixels repeated.
#pragma once

#include <string>
#include <vector>

#include "devices/driver.h"

namespace stylus {

// A picture of colour registers: width x height bytes, rows from the top. A pixel of
// kSixelNoDot is never set: it keeps the background (a terminal's, or the paper).
struct SixelImage {
  static constexpr unsigned char kSixelNoDot = 0xFF;
  int width = 0, height = 0;
  std::vector<unsigned char> dots;
};

// The numeric parameters of "DCS P1;P2;P3 q": P1 the macro parameter (pixel shape, which
// the raster attributes then fix at 1:1), P2 the background select (1: pixels without a dot
// keep their colour), P3 the horizontal grid size in the device's units (0: its default).
struct SixelProtocol {
  int macro = 0;
  int background = 1;
  int grid = 0;
};

// Appends the whole control string to out: ESC P P1;P2;P3 q, the raster attributes
// "1;1;width;height, the definitions #k;2;r;g;b (percent) of registers 0 to
// definitions.size() - 1, then per band of six rows every register that has a dot in it,
// in increasing order, each as #k and its sixels up to its last dot ($ between registers,
// - between bands), runs of four or more equal sixels as !n, and the terminator ESC \.
void append_sixel_picture(std::string& out, const SixelImage& image, SixelProtocol protocol,
                          const std::vector<RgbColor>& definitions);

}  // namespace stylus
