// The contents of the colour tables and the colour-name maps, as pure functions of the table
// kind, so that they can be checked apart from any session.
#pragma once

namespace stylus {

// Table kinds, in the order of the keyword list of setvlt (colors.cpp).
enum ColorTableKind {
  kTableSmall = 0,
  kTableRainbow = 1,
  kTableSpectrum = 2,
  kTableGrey = 3,
  kTableRevRainbow = 4,
  kTableRevSpectrum = 5,
  kTableRevGrey = 6,
  kTableVga = 7,
};

// Name-map positions: WHIT RED GREE YELL BLUE ORAN CYAN MAGE BLAC.
inline constexpr int kColorNames = 9;

// Writes table kind into table (red << 16 | green << 8 | blue). SMAL and VGA set only their
// first 9 and 16 entries; swap01 exchanges entries 0 and 1 of SMAL (white background devices).
void load_color_table(int kind, int table[256], bool swap01);
// The name map of table kind: colour numbers of the nine names (before any device rule).
void color_name_map(int kind, int map[kColorNames]);

inline int rgb_red(int entry) {
  return (entry >> 16) & 0xFF;
}
inline int rgb_green(int entry) {
  return (entry >> 8) & 0xFF;
}
inline int rgb_blue(int entry) {
  return entry & 0xFF;
}

}  // namespace stylus
