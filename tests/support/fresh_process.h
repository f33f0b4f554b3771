// Puts every record of the library back to the state of a freshly started process, so that
// each test starts from the same plot state whatever ran before it in the same program.
// Left alone: scratch records that the library always writes before it reads them (the
// side copies of graf, the caller's warning text, the X11 layer's last error code), and
// the screen's window system, which the screen tests install and remove themselves.
#pragma once

#include "axis/axis_state.h"
#include "axis/font_state.h"
#include "devices/driver.h"
#include "devices/postscript.h"
#include "devices/screen_session.h"
#include "draw/clip.h"
#include "draw/curve.h"
#include "draw/linestyle.h"
#include "draw/pen.h"
#include "state/protocol.h"
#include "state/state.h"

inline void fresh_process() {
  stylus::set_current_driver(nullptr);
  stylus::set_driver_factory(nullptr);
  stylus::set_local_time_source(nullptr);
  stylus::set_message_window(nullptr);
  stylus::reset_process_state();
  stylus::g_pen = stylus::PenRecord{};
  stylus::g_linestyle = stylus::LineStyleRecord{};
  stylus::g_clip = stylus::ClipRecord{};
  stylus::g_fonts = stylus::FontRecord{};
  stylus::g_axis_clip = stylus::AxisClipRecord{};
  stylus::g_scale = stylus::ScaleRecord{};
  stylus::g_axis = stylus::AxisSettings{};
  stylus::g_curve = stylus::CurveRecord{};
  stylus::g_legend = stylus::LegendRecord{};
  stylus::g_pspath = stylus::PsPathRecord{};
  stylus::g_screen_session = stylus::ScreenSessionRecord{};
}
