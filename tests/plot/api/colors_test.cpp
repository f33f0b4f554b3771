// Colour tables, colour-name maps and the pen routines color, setclr, setvlt and linwid.
#include <gtest/gtest.h>

#include <vector>

#include "support/state_fixture.h"
#include "pen/pen.h"
#include "records/color_tables.h"
#include "stylus.h"

using namespace stylus;

namespace {

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Rgb& c) {
  return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}
Rgb rgb(int entry) {
  return {rgb_red(entry), rgb_green(entry), rgb_blue(entry)};
}

std::vector<Rgb> table_of(int kind) {
  int table[256] = {};
  load_color_table(kind, table, false);
  std::vector<Rgb> out;
  for (int e : table) out.push_back(rgb(e));
  return out;
}

// Each channel moves in one direction (or stays) between consecutive anchors.
void expect_monotonic(const std::vector<Rgb>& t, const std::vector<int>& anchors) {
  for (std::size_t k = 0; k + 1 < anchors.size(); ++k) {
    for (int ch = 0; ch < 3; ++ch) {
      auto value = [&](int i) { return ch == 0 ? t[i].r : ch == 1 ? t[i].g : t[i].b; };
      int dir = 0;
      for (int i = anchors[k]; i < anchors[k + 1]; ++i) {
        int step = value(i + 1) - value(i);
        if (step == 0) continue;
        int s = step > 0 ? 1 : -1;
        if (dir == 0) dir = s;
        EXPECT_EQ(s, dir) << "channel " << ch << " at " << i;
      }
    }
  }
}

}  // namespace

TEST(ColorTables, RainbowAnchorsAndTellingRows) {
  auto t = table_of(kTableRainbow);
  EXPECT_EQ(t[0], (Rgb{0, 0, 0}));
  EXPECT_EQ(t[255], (Rgb{255, 255, 255}));
  EXPECT_EQ(t[1], (Rgb{34, 0, 68}));
  EXPECT_EQ(t[5], (Rgb{51, 0, 102}));
  EXPECT_EQ(t[13], (Rgb{51, 0, 170}));
  EXPECT_EQ(t[18], (Rgb{34, 0, 204}));
  EXPECT_EQ(t[22], (Rgb{34, 0, 238}));
  EXPECT_EQ(t[26], (Rgb{17, 0, 255}));
  EXPECT_EQ(t[30], (Rgb{0, 0, 255}));
  EXPECT_EQ(t[96], (Rgb{0, 255, 255}));
  EXPECT_EQ(t[117], (Rgb{0, 255, 170}));
  EXPECT_EQ(t[138], (Rgb{0, 255, 0}));
  EXPECT_EQ(t[146], (Rgb{68, 255, 0}));
  EXPECT_EQ(t[192], (Rgb{255, 255, 0}));
  EXPECT_EQ(t[254], (Rgb{255, 0, 0}));
  EXPECT_EQ(t[63], (Rgb{0, 128, 255}));
  EXPECT_EQ(t[127], (Rgb{0, 255, 88}));
  EXPECT_EQ(t[223], (Rgb{255, 127, 0}));
  expect_monotonic(t, {1, 5, 13, 18, 22, 26, 30, 96, 117, 138, 146, 192, 254});
}

TEST(ColorTables, SpectrumAnchorsAndTellingRows) {
  auto t = table_of(kTableSpectrum);
  EXPECT_EQ(t[0], (Rgb{0, 0, 0}));
  EXPECT_EQ(t[255], (Rgb{255, 255, 255}));
  EXPECT_EQ(t[1], (Rgb{255, 0, 255}));
  EXPECT_EQ(t[52], (Rgb{0, 0, 255}));
  EXPECT_EQ(t[102], (Rgb{0, 255, 255}));
  EXPECT_EQ(t[153], (Rgb{0, 255, 0}));
  EXPECT_EQ(t[204], (Rgb{255, 255, 0}));
  EXPECT_EQ(t[254], (Rgb{255, 0, 0}));
  EXPECT_EQ(t[10], (Rgb{210, 0, 255}));
  EXPECT_EQ(t[80], (Rgb{0, 143, 255}));
  EXPECT_EQ(t[128], (Rgb{0, 255, 125}));
  EXPECT_EQ(t[223], (Rgb{255, 156, 0}));
  expect_monotonic(t, {1, 52, 102, 153, 204, 254});
  // About 5 per entry and channel.
  for (int i = 1; i < 254; ++i) {
    EXPECT_LE(std::abs(t[i + 1].r - t[i].r) + std::abs(t[i + 1].g - t[i].g) +
                  std::abs(t[i + 1].b - t[i].b),
              6)
        << i;
  }
}

TEST(ColorTables, GreySmallVgaAndReversedTables) {
  auto grey = table_of(kTableGrey);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(grey[i], (Rgb{i, i, i}));
  auto rgre = table_of(kTableRevGrey);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(rgre[i], (Rgb{255 - i, 255 - i, 255 - i}));
  auto rain = table_of(kTableRainbow);
  auto rrai = table_of(kTableRevRainbow);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(rrai[i], rain[255 - i]);
  EXPECT_EQ(rrai[1], (Rgb{255, 0, 0}));
  auto spectrum = table_of(kTableSpectrum);
  auto rspe = table_of(kTableRevSpectrum);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(rspe[i], spectrum[255 - i]);

  int table[256];
  for (int& e : table) e = 0x123456;
  load_color_table(kTableSmall, table, false);
  EXPECT_EQ(table[0], 0x000000);
  EXPECT_EQ(table[1], 0xFFFFFF);
  EXPECT_EQ(table[6], 0xFF5500);
  EXPECT_EQ(table[8], 0xFF00FF);
  EXPECT_EQ(table[9], 0x123456);  // left as it was
  load_color_table(kTableSmall, table, true);
  EXPECT_EQ(table[0], 0xFFFFFF);
  EXPECT_EQ(table[1], 0x000000);
  load_color_table(kTableVga, table, false);
  EXPECT_EQ(table[6], 0xAA5500);
  EXPECT_EQ(table[15], 0xFFFFFF);
  EXPECT_EQ(table[16], 0x123456);
}

TEST(ColorTables, NameMaps) {
  auto map_of = [](int kind) {
    std::vector<int> m(kColorNames);
    color_name_map(kind, m.data());
    return m;
  };
  EXPECT_EQ(map_of(kTableSmall), (std::vector<int>{1, 2, 3, 5, 4, 6, 7, 8, 1}));
  EXPECT_EQ(map_of(kTableRainbow), (std::vector<int>{255, 254, 138, 192, 30, 223, 96, 13, 0}));
  EXPECT_EQ(map_of(kTableSpectrum), (std::vector<int>{255, 254, 154, 205, 53, 235, 103, 1, 0}));
  EXPECT_EQ(map_of(kTableGrey), (std::vector<int>{255, 230, 185, 150, 95, 215, 175, 110, 255}));
  EXPECT_EQ(map_of(kTableVga), (std::vector<int>{15, 4, 2, 14, 1, 12, 3, 5, 0}));
  EXPECT_EQ(map_of(kTableRevRainbow), (std::vector<int>{255, 1, 117, 63, 225, 32, 159, 242, 0}));
  EXPECT_EQ(map_of(kTableRevGrey), (std::vector<int>{255, 25, 70, 105, 160, 40, 80, 145, 255}));
  // The names select the colours they say in the tables they map into.
  auto rain = table_of(kTableRainbow);
  auto m = map_of(kTableRainbow);
  EXPECT_EQ(rain[m[1]], (Rgb{255, 0, 0}));
  EXPECT_EQ(rain[m[2]], (Rgb{0, 255, 0}));
  EXPECT_EQ(rain[m[3]], (Rgb{255, 255, 0}));
  EXPECT_EQ(rain[m[4]], (Rgb{0, 0, 255}));
  EXPECT_EQ(rain[m[6]], (Rgb{0, 255, 255}));
}

class Colors : public StateTest {
 protected:
  void start(const char* device) {
    use_recording_driver();
    metafl(device);
    disini();
    ASSERT_EQ(g_ivray.level, 1);
    RecordingDriver::log().clear();
  }
  std::vector<int> colors_sent() {
    std::vector<int> out;
    for (const DriverEvent& e : RecordingDriver::log())
      if (e.kind == DriverEvent::kColor) out.push_back(e.value);
    return out;
  }
};

TEST_F(Colors, SessionStartLoadsTheRainbowWithWhiteForeground) {
  use_recording_driver();
  metafl("CONS");
  disini();
  EXPECT_EQ(g_ivray.color_table, kTableRainbow);
  EXPECT_EQ(g_ivray.cur_color, 255);
  EXPECT_EQ(g_cycles.table[254], 0xFF0000);
  const auto& log = RecordingDriver::log();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[0].kind, DriverEvent::kStart);
  EXPECT_EQ(log[1].kind, DriverEvent::kColorTable);
  EXPECT_EQ(log[1].value, kTableRainbow);
  EXPECT_EQ(log[2].kind, DriverEvent::kColor);
  EXPECT_EQ(log[2].value, 255);
  // The colour cycle runs through WHIT .. MAGE of the loaded map.
  EXPECT_EQ(g_cycles.color_cycle[0], 255);
  EXPECT_EQ(g_cycles.color_cycle[1], 254);
  EXPECT_EQ(g_cycles.color_cycle[7], 13);
  EXPECT_EQ(g_cycles.color_cycle[8], 255);
  EXPECT_EQ(g_cycles.color_cycle[29], g_cycles.name_map[(30 - 1) % 8]);
}

TEST_F(Colors, NamesOnTheScreen) {
  start("CONS");
  color("red");
  EXPECT_EQ(g_ivray.cur_color, 254);
  EXPECT_EQ(g_cycles.table[254], 0xFF0000);
  color("FORE");
  EXPECT_EQ(g_ivray.cur_color, 255);
  color("back");
  EXPECT_EQ(g_ivray.cur_color, 0);
  color("GREEN");  // compared on its first four letters
  EXPECT_EQ(g_ivray.cur_color, 138);
  EXPECT_EQ(colors_sent(), (std::vector<int>{254, 255, 0, 138}));
}

TEST_F(Colors, UnknownNameWarnsAndKeepsTheColour) {
  start("CONS");
  color("BLUE");
  capture();
  color("PINK");
  EXPECT_EQ(stdout_text(), " <<<< Warning   2: Incorrect parameter in color!   (PINK)\n");
  EXPECT_EQ(g_ivray.cur_color, 30);
  EXPECT_EQ(colors_sent(), (std::vector<int>{30}));
}

TEST_F(Colors, SetclrRange) {
  start("CONS");
  setclr(0);
  setclr(255);
  capture();
  setclr(256);
  setclr(-1);
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   2: Incorrect parameter in setclr!   ( 256)\n"
            " <<<< Warning   2: Incorrect parameter in setclr!   (  -1)\n");
  EXPECT_EQ(g_ivray.cur_color, 255);
  EXPECT_EQ(colors_sent(), (std::vector<int>{0, 255}));
}

TEST_F(Colors, SmallTableMapsWhiteAndBlackToOne) {
  start("CONS");
  setvlt("small");
  EXPECT_EQ(g_ivray.color_table, kTableSmall);
  EXPECT_EQ(g_ivray.cur_color, 1);  // foreground of SMAL
  color("WHIT");
  EXPECT_EQ(g_ivray.cur_color, 1);
  color("BLAC");
  EXPECT_EQ(g_ivray.cur_color, 1);
  color("FORE");
  EXPECT_EQ(g_ivray.cur_color, 1);
  setvlt("VGA");
  EXPECT_EQ(g_ivray.cur_color, 15);
  color("ORAN");
  EXPECT_EQ(g_ivray.cur_color, 12);
}

TEST_F(Colors, ReversedRainbow) {
  start("CONS");
  setvlt("RRAI");
  color("RED");
  EXPECT_EQ(g_ivray.cur_color, 1);
  EXPECT_EQ(g_cycles.table[1], 0xFF0000);
  color("WHIT");
  EXPECT_EQ(g_ivray.cur_color, 255);
  EXPECT_EQ(g_cycles.table[255], 0x000000);  // reversed: entry 255 is the old entry 0
}

TEST_F(Colors, UnknownTableWarnsAndChangesNothing) {
  start("CONS");
  capture();
  setvlt("RAINBOW");  // "RAIN": known
  setvlt("PAST");
  EXPECT_EQ(stdout_text(), " <<<< Warning   2: Incorrect parameter in setvlt!   (PAST)\n");
  EXPECT_EQ(g_ivray.color_table, kTableRainbow);
}

TEST_F(Colors, PostScriptDefaultIsReversedGreyWithBlackForeground) {
  start("POST");
  EXPECT_EQ(g_ivray.color_table, kTableRevGrey);
  EXPECT_EQ(g_ivray.cur_color, 255);
  EXPECT_EQ(g_cycles.table[255], 0x000000);
  color("FORE");
  EXPECT_EQ(g_ivray.cur_color, 255);
  color("BACK");
  EXPECT_EQ(g_ivray.cur_color, 0);
  EXPECT_EQ(g_cycles.table[0], 0xFFFFFF);
  // On white-background devices a ramp's foreground is colour 0.
  setvlt("GREY");
  EXPECT_EQ(g_ivray.cur_color, 0);
  color("BACK");
  EXPECT_EQ(g_ivray.cur_color, 255);
  setvlt("SMAL");
  EXPECT_EQ(g_cycles.table[0], 0xFFFFFF);  // entries 0 and 1 exchanged on PostScript
  EXPECT_EQ(g_cycles.table[1], 0x000000);
}

TEST_F(Colors, MetafilesMapWhiteToZeroAndThePrinterKeepsEightColours) {
  start("CGM");
  setvlt("RAIN");
  color("WHIT");
  EXPECT_EQ(g_ivray.cur_color, 0);
  disfin();
  start("KYOC");
  setvlt("Spectrum");  // compared on its first four letters
  EXPECT_EQ(g_ivray.color_table, kTableSmall);
  EXPECT_EQ(g_ivray.cur_color, 1);
}

TEST_F(Colors, LineWidth) {
  start("CONS");
  EXPECT_EQ(g_ivray.line_width, 1);
  linwid(4);
  EXPECT_EQ(g_ivray.line_width, 4);
  linwid(32000);
  capture();
  linwid(0);
  linwid(32001);
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   2: Incorrect parameter in linwid!\n"
            " <<<< Warning   2: Incorrect parameter in linwid!\n");
  EXPECT_EQ(g_ivray.line_width, 32000);
  std::vector<int> widths;
  for (const DriverEvent& e : RecordingDriver::log())
    if (e.kind == DriverEvent::kLineWidth) widths.push_back(e.value);
  EXPECT_EQ(widths, (std::vector<int>{4, 32000}));
}

TEST_F(Colors, ChangesStrokeThePendingPolylineFirst) {
  start("CONS");
  xmove(10, 10);
  xdraw(20, 20);
  setclr(5);
  const auto& log = RecordingDriver::log();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].kind, DriverEvent::kPoint);
  EXPECT_EQ(log[1].kind, DriverEvent::kPoint);
  EXPECT_EQ(log[2].kind, DriverEvent::kColor);
  xmove(10, 10);
  xdraw(20, 20);
  linwid(3);
  EXPECT_EQ(log.size(), 6u);
  EXPECT_EQ(log[5].kind, DriverEvent::kLineWidth);
}

TEST_F(Colors, OutsideASessionTheLevelCheckRefuses) {
  capture();
  color("RED");
  setclr(3);
  setvlt("RAIN");
  linwid(2);
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   3: Incorrect level in color!   (   0)\n"
            " <<<< Warning   3: Incorrect level in setclr!   (   0)\n"
            " <<<< Warning   3: Incorrect level in setvlt!   (   0)\n"
            " <<<< Warning   3: Incorrect level in linwid!   (   0)\n");
}
