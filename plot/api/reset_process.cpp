// The one reset of the whole library to its program-start state (see reset.h), so that a
// test or a fuzz run can start every case from a fresh process without knowing the modules.
#include "api/reset.h"
#include "elements/axis_state.h"
#include "elements/font_state.h"
#include "elements/graf.h"
#include "elements/ticks.h"
#include "devices/device_table.h"
#include "devices/screen_driver.h"
#include "pen/clip.h"
#include "elements/curve.h"
#include "pen/linestyle.h"
#include "pen/pen.h"
#include "records/messages.h"
#include "records/api_call.h"
#include "records/protocol.h"
#include "api/session.h"
#include "records/state.h"

namespace stylus {

void reset_process() {
  reset_api_calls();
  reset_device_table();
  reset_session_files();
  set_screen_window_system(nullptr);
  set_local_time_source(nullptr);
  set_message_window(nullptr);
  reset_plot_records();
  reset_messages();
  g_pen = PenRecord{};
  g_linestyle = LineStyleRecord{};
  g_clip = ClipRecord{};
  g_axis_clip = AxisClipRecord{};
  g_fonts = FontRecord{};
  g_scale = ScaleRecord{};
  g_axis = AxisSettings{};
  g_curve = CurveRecord{};
  g_legend = LegendRecord{};
  reset_graf_state();
  reset_tick_state();
}

}  // namespace stylus
