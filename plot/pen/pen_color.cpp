// setclr: the pen's colour by number. It is the colour change that every drawing routine
// uses (axes, texts, curves), so it lives with the pen rather than with the colour routines
// that choose colours by name and load colour tables.
#include "devices/device_table.h"
#include "pen/pen.h"
#include "records/color_tables.h"
#include "records/messages.h"
#include "records/state.h"
#include "stylus.h"
#include "records/api_call.h"

using namespace stylus;

extern "C" void setclr(int ncol) try {
  const ApiCall call;
  if (jqqlev(1, 3, "setclr")) return;
  if (jqqval(ncol, 0, 255)) return;
  qqstrk();
  if (Driver* d = current_driver()) {
    const int entry = g_cycles.table[ncol];
    d->color({ncol, {rgb_red(entry), rgb_green(entry), rgb_blue(entry)}, g_ivray.cur_color});
  }
  g_ivray.cur_color = ncol;
} catch (...) {
  api_failure();
}
