// The process-wide plot records and the defaults that hold from the first library call of a
// process on (device, page, message output), which later sessions keep.
#include "records/state.h"

#include <cstring>

namespace stylus {

ControlRecord g_control;
PlotSettings g_ivray;
PlotFactors g_xvray;
TitleRecord g_titles;
CycleRecord g_cycles;

namespace {
bool g_defaults_applied = false;
}

void ensure_process_defaults() {
  if (g_defaults_applied) return;
  g_ivray.msg_unit = 6;
  g_control.msg_stream = stdout;
  g_control.err_stream = stdout;
  g_ivray.device = 0;
  g_ivray.page_nx = 2969;
  g_ivray.page_ny = 2099;
  std::memcpy(g_control.page_format, "DA4L", 5);
  g_xvray.user_scale = 1.0f;
  g_ivray.device_chosen = 0;
  g_ivray.err_to_file = 0;
  g_ivray.protocol_window = 0;
  for (int& opt : g_ivray.screen_opts) opt = 0;
  g_ivray.screen_opts[kScreenBitmap] = 2;
  g_defaults_applied = true;
}

void reset_plot_records() {
  g_control = ControlRecord{};
  g_ivray = PlotSettings{};
  g_xvray = PlotFactors{};
  g_titles = TitleRecord{};
  g_cycles = CycleRecord{};
  g_defaults_applied = false;
}

}  // namespace stylus
