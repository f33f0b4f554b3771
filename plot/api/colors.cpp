// The current pen: colour by name (color), the colour table (setvlt)
// and the line width (linwid). Device output of each change goes through the driver.
#include <cstring>

#include "devices/device_table.h"
#include "devices/driver.h"
#include "pen/pen.h"
#include "records/color_tables.h"
#include "records/messages.h"
#include "api/session.h"
#include "records/state.h"
#include "stylus.h"
#include "records/api_call.h"

namespace stylus {

namespace {

constexpr const char kColorKeywords[] = "WHIT+RED +GREE+YELL+BLUE+ORAN+CYAN+MAGE+BLAC+FORE+BACK";
constexpr const char kTableKeywords[] = "SMAL+RAIN+SPEC+GREY+RRAI+RSPE+RGRE+VGA ";

bool ramp_table(int kind) {
  return kind >= kTableRainbow && kind <= kTableGrey;
}

int foreground_color() {
  // On white paper a 256-entry ramp draws in colour 0 (black) on colour 255 (white).
  if (current_device().white_paper && ramp_table(g_ivray.color_table)) return 0;
  if (g_ivray.color_table == kTableSmall) return 1;
  if (g_ivray.color_table == kTableVga) return 15;
  return 255;
}

int background_color() {
  if (current_device().white_paper && ramp_table(g_ivray.color_table)) return 255;
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

extern "C" void color(const char* cname) try {
  const ApiCall call;
  if (jqqlev(1, 3, "color") || missing_argument(cname, "color")) return;
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
} catch (...) {
  api_failure();
}

extern "C" void setvlt(const char* ctab) try {
  const ApiCall call;
  if (jqqlev(1, 3, "setvlt") || missing_argument(ctab, "setvlt")) return;
  int k = jqqind(kTableKeywords, 8, ctab);
  if (k == 0) return;
  const DeviceRecord& device = current_device();
  const int kind = device.small_only ? kTableSmall : k - 1;
  g_ivray.color_table = kind;

  color_name_map(kind, g_cycles.name_map);
  if (device.white_maps_to_zero && ramp_table(kind)) g_cycles.name_map[0] = 0;
  load_color_table(kind, g_cycles.table, device.small_swapped);
  build_color_cycle();
  if (Driver* d = current_driver()) d->color_table(kind, g_cycles.table);
  setclr(foreground_color());
} catch (...) {
  api_failure();
}

extern "C" void linwid(int nwidth) try {
  const ApiCall call;
  if (jqqlev(1, 3, "linwid")) return;
  if (nwidth < 1 || nwidth > 32000) {
    warnin(2);
    return;
  }
  qqstrk();
  // A device that draws widths itself keeps the width negated: the stroke stage then sends
  // only centre lines.
  const bool device_width = current_device().draws_widths;
  g_ivray.line_width = device_width ? -nwidth : nwidth;
  if (Driver* d = current_driver()) d->line_width(nwidth);
  // Mitred corners need the miter limit for the new width.
  if (device_width && g_ivray.line_width_mode == 0) lnmlt(g_xvray.line_width_factor);
} catch (...) {
  api_failure();
}
