// The sixel picture (see sixel.h).
#include "devices/sixel.h"

#include <algorithm>
#include <array>

#include "records/number_text.h"

namespace stylus {
namespace {

void append_int(std::string& out, int v) {
  char text[kNumberTextSize];
  out.append(text, static_cast<std::size_t>(int_text(text, v)));
}

// A colour component 0..255 in the percent of the colour introducer, rounded half up.
int percent(int v) {
  return (std::clamp(v, 0, 255) * 100 + 127) / 255;
}

// The sixels of one register in one band, a run of equal ones at a time.
void append_runs(std::string& out, const unsigned char* bits, int n) {
  for (int x = 0; x < n;) {
    int end = x + 1;
    while (end < n && bits[end] == bits[x]) ++end;
    const char c = static_cast<char>('?' + bits[x]);
    const int run = end - x;
    if (run >= 4) {
      out += '!';
      append_int(out, run);
      out += c;
    } else {
      out.append(static_cast<std::size_t>(run), c);
    }
    x = end;
  }
}

}  // namespace

void append_sixel_picture(std::string& out, const SixelImage& image, SixelProtocol protocol,
                          const std::vector<RgbColor>& definitions) {
  out += "\x1bP";
  append_int(out, protocol.macro);
  out += ';';
  append_int(out, protocol.background);
  out += ';';
  append_int(out, protocol.grid);
  out += "q\"1;1;";
  append_int(out, image.width);
  out += ';';
  append_int(out, image.height);
  for (std::size_t k = 0; k < definitions.size(); ++k) {
    const RgbColor& c = definitions[k];
    out += '#';
    append_int(out, static_cast<int>(k));
    for (int v : {2, percent(c.r), percent(c.g), percent(c.b)}) {
      out += ';';
      append_int(out, v);
    }
  }

  const int w = std::max(image.width, 0);
  const std::size_t width = static_cast<std::size_t>(w);
  // Per register its sixels in the band and the column after its last dot (0: none).
  std::array<std::vector<unsigned char>, 255> bits;
  std::array<int, 255> used{};
  for (int top = 0; top < image.height; top += 6) {
    if (top > 0) out += '-';
    for (int k = 0; k < 6 && top + k < image.height; ++k) {
      const unsigned char* row = image.dots.data() + static_cast<std::size_t>(top + k) * width;
      for (int x = 0; x < w; ++x) {
        const unsigned char reg = row[x];
        if (reg == SixelImage::kSixelNoDot) continue;
        if (bits[reg].size() != width) bits[reg].assign(width, 0);
        bits[reg][static_cast<std::size_t>(x)] |= static_cast<unsigned char>(1u << k);
        used[reg] = std::max(used[reg], x + 1);
      }
    }
    bool first = true;
    for (int reg = 0; reg < 255; ++reg) {
      if (used[reg] == 0) continue;
      if (!first) out += '$';
      first = false;
      out += '#';
      append_int(out, reg);
      append_runs(out, bits[reg].data(), used[reg]);
      std::fill(bits[reg].begin(), bits[reg].begin() + used[reg], 0);
      used[reg] = 0;
    }
  }
  out += "\x1b\\";
}

}  // namespace stylus
