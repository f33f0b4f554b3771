// Colour table contents (see color_tables.h). The rainbow and spectrum tables are piecewise
// linear between anchor colours; the rows that distinguish them (for example rainbow 127 =
// (0, 255, 88)) are anchors too, so every channel runs monotonically from one anchor to the
// next.
#include "records/color_tables.h"

namespace stylus {

namespace {

struct Anchor {
  int index, r, g, b;
};

constexpr Anchor kRainbow[] = {
    {1, 34, 0, 68},    {5, 51, 0, 102},    {13, 51, 0, 170},   {18, 34, 0, 204},
    {22, 34, 0, 238},  {26, 17, 0, 255},   {30, 0, 0, 255},    {63, 0, 128, 255},
    {96, 0, 255, 255}, {117, 0, 255, 170}, {127, 0, 255, 88},  {138, 0, 255, 0},
    {146, 68, 255, 0}, {192, 255, 255, 0}, {223, 255, 127, 0}, {254, 255, 0, 0},
};

constexpr Anchor kSpectrum[] = {
    {1, 255, 0, 255},   {10, 210, 0, 255},  {52, 0, 0, 255},  {80, 0, 143, 255},
    {102, 0, 255, 255}, {128, 0, 255, 125}, {153, 0, 255, 0}, {204, 255, 255, 0},
    {223, 255, 156, 0}, {254, 255, 0, 0},
};

constexpr int pack(int r, int g, int b) {
  return r << 16 | g << 8 | b;
}

// Value at i on the line from (i0, a) to (i1, b), rounded half up.
constexpr int lerp_channel(int a, int b, int i, int i0, int i1) {
  int num = a * (i1 - i) + b * (i - i0);
  int den = i1 - i0;
  return (2 * num + den) / (2 * den);
}

template <int N>
void load_ramp(const Anchor (&anchors)[N], int table[256]) {
  table[0] = pack(0, 0, 0);
  table[255] = pack(255, 255, 255);
  for (int k = 0; k + 1 < N; ++k) {
    const Anchor& lo = anchors[k];
    const Anchor& hi = anchors[k + 1];
    for (int i = lo.index; i <= hi.index; ++i) {
      table[i] = pack(lerp_channel(lo.r, hi.r, i, lo.index, hi.index),
                      lerp_channel(lo.g, hi.g, i, lo.index, hi.index),
                      lerp_channel(lo.b, hi.b, i, lo.index, hi.index));
    }
  }
}

constexpr int kSmall[9] = {pack(0, 0, 0),    pack(255, 255, 255), pack(255, 0, 0),
                           pack(0, 255, 0),  pack(0, 0, 255),     pack(255, 255, 0),
                           pack(255, 85, 0), pack(0, 255, 255),   pack(255, 0, 255)};
constexpr int kVga[16] = {0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA,
                          0xAA5500, 0xAAAAAA, 0x555555, 0x5555FF, 0x55FF55, 0x55FFFF,
                          0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF};

// Columns of the name map: WHIT RED GREE YELL BLUE ORAN CYAN MAGE BLAC.
constexpr int kMapSmall[kColorNames] = {1, 2, 3, 5, 4, 6, 7, 8, 1};
constexpr int kMapRainbow[kColorNames] = {255, 254, 138, 192, 30, 223, 96, 13, 0};
constexpr int kMapSpectrum[kColorNames] = {255, 254, 154, 205, 53, 235, 103, 1, 0};
constexpr int kMapGrey[kColorNames] = {255, 230, 185, 150, 95, 215, 175, 110, 255};
constexpr int kMapVga[kColorNames] = {15, 4, 2, 14, 1, 12, 3, 5, 0};

}  // namespace

void load_color_table(int kind, int table[256], bool swap01) {
  switch (kind) {
    case kTableSmall:
      for (int i = 0; i < 9; ++i) table[i] = kSmall[i];
      if (swap01) table[0] = kSmall[1], table[1] = kSmall[0];
      return;
    case kTableVga:
      for (int i = 0; i < 16; ++i) table[i] = kVga[i];
      return;
    case kTableRainbow:
    case kTableRevRainbow:
      load_ramp(kRainbow, table);
      break;
    case kTableSpectrum:
    case kTableRevSpectrum:
      load_ramp(kSpectrum, table);
      break;
    default:  // grey ramps
      for (int i = 0; i < 256; ++i) table[i] = pack(i, i, i);
      break;
  }
  if (kind >= kTableRevRainbow && kind <= kTableRevGrey) {
    for (int i = 0; i < 128; ++i) {
      int t = table[i];
      table[i] = table[255 - i];
      table[255 - i] = t;
    }
  }
}

void color_name_map(int kind, int map[kColorNames]) {
  const int* column = kMapRainbow;
  switch (kind) {
    case kTableSmall:
      column = kMapSmall;
      break;
    case kTableSpectrum:
    case kTableRevSpectrum:
      column = kMapSpectrum;
      break;
    case kTableGrey:
    case kTableRevGrey:
      column = kMapGrey;
      break;
    case kTableVga:
      column = kMapVga;
      break;
    default:
      break;
  }
  for (int i = 0; i < kColorNames; ++i) map[i] = column[i];
  if (kind >= kTableRevRainbow && kind <= kTableRevGrey) {
    // RED to MAGE follow their colours to the other end of the reversed table.
    for (int i = 1; i <= 7; ++i) map[i] = 255 - map[i];
  }
}

}  // namespace stylus
