// The current pen: colour by name (color) or number (setclr), the colour table (setvlt)
// and the line width (linwid). Device output of each change goes through the driver.
#include <cstring>

#include "devices/driver.h"
#include "draw/pen.h"
#include "state/color_tables.h"
#include "state/messages.h"
#include "state/session.h"
#include "state/state.h"
#include "stylus.h"

namespace stylus {

namespace {

constexpr const char kColorKeywords[] = "WHIT+RED +GREE+YELL+BLUE+ORAN+CYAN+MAGE+BLAC+FORE+BACK";
constexpr const char kTableKeywords[] = "SMAL+RAIN+SPEC+GREY+RRAI+RSPE+RGRE+VGA ";

// Devices with a white background: PostScript, CGM, Windows metafile and the applet. With a
// 256-entry ramp loaded their foreground is colour 0 and their background 255.
bool white_background(int device) {
  return device == 501 || device == 221 || device == 211 || device == 701;
}
bool ramp_table(int kind) {
  return kind >= kTableRainbow && kind <= kTableGrey;
}

int foreground_color() {
  if (white_background(g_ivray.device) && ramp_table(g_ivray.color_table)) return 0;
  if (g_ivray.color_table == kTableSmall) return 1;
  if (g_ivray.color_table == kTableVga) return 15;
  return 255;
}

int background_color() {
  if (white_background(g_ivray.device) && ramp_table(g_ivray.color_table)) return 255;
  return 0;
}

}  // namespace

void build_color_cycle() {
  for (int i = 1; i <= 30; ++i) {
    int pos = i % 8 == 0 ? 8 : i % 8;
    g_cycles.color_cycle[i - 1] = g_cycles.name_map[pos - 1];
  }
}

}  // namespace stylus

using namespace stylus;

extern "C" void setclr(int ncol) {
  if (jqqlev(1, 3, "setclr")) return;
  if (jqqval(ncol, 0, 255)) return;
  qqstrk();
  if (Driver* d = current_driver()) d->color(ncol);
  g_ivray.cur_color = ncol;
}

extern "C" void color(const char* cname) {
  if (jqqlev(1, 3, "color")) return;
  int k = jqqind(kColorKeywords, 11, cname);
  if (k == 0) return;
  int ncol;
  if (k <= kColorNames) {
    ncol = g_cycles.name_map[k - 1];
  } else if (k == 10) {
    ncol = foreground_color();
  } else {
    ncol = background_color();
  }
  setclr(ncol);
}

extern "C" void setvlt(const char* ctab) {
  if (jqqlev(1, 3, "setvlt")) return;
  int k = jqqind(kTableKeywords, 8, ctab);
  if (k == 0) return;
  int kind = k - 1;
  // The printer has only its eight colours.
  if (g_ivray.device >= 300 && g_ivray.device <= 399) kind = kTableSmall;
  g_ivray.color_table = kind;

  color_name_map(kind, g_cycles.name_map);
  if ((g_ivray.device == 211 || g_ivray.device == 221) && ramp_table(kind)) {
    g_cycles.name_map[0] = 0;
  }
  load_color_table(kind, g_cycles.table, g_ivray.device == 501);
  build_color_cycle();
  if (Driver* d = current_driver()) d->color_table(kind, g_cycles.table);
  setclr(foreground_color());
}

extern "C" void linwid(int nwidth) {
  if (jqqlev(1, 3, "linwid")) return;
  if (nwidth < 1 || nwidth > 32000) {
    warnin(2);
    return;
  }
  qqstrk();
  g_ivray.line_width = nwidth;
  if (Driver* d = current_driver()) d->line_width(nwidth);
}
