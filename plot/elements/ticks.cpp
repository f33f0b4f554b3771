// Ticks of an axis. Successive ticks are drawn back and forth (rvline), so that a pen
// never travels back to the axis line between two ticks.
#include "elements/ticks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "elements/axis_state.h"
#include "elements/scaling.h"
#include "pen/pen.h"

namespace stylus {

namespace {

// Direction toggle of rvline: carries over across all axes and all sessions.
int irv = 0;

int signed_len(int sign, int v) {
  return sign * std::abs(v);
}

// A tick at page coordinate p along the axis, from `start` across it.
TickLine make_tick(int p, int start, int length, bool major, int axis) {
  if (axis == kAxisX) return {p, start, p, start + length, major};
  return {start, p, start + length, p, major};
}

}  // namespace

void settic(int side, int tick_pos) {
  const int s = side == 0 ? 1 : -1;
  for (int i = 0; i < 3; ++i) {
    g_axis.label_dist[i] = signed_len(s, g_axis.label_dist[i]);
    g_axis.name_dist[i] = signed_len(s, g_axis.name_dist[i]);
  }
  const int t = tick_pos == 1 ? -s : s;
  g_axis.minor_tick_len = signed_len(t, g_axis.minor_tick_len);
  g_axis.major_tick_len = signed_len(t, g_axis.major_tick_len);
}

int step_count(float v, int limit) {
  const float c = v + 0.0001f;
  if (std::isnan(c)) return 0;
  limit = std::max(limit, 1);
  if (c >= static_cast<float>(limit)) return limit;
  if (c <= -static_cast<float>(limit)) return -limit;
  return static_cast<int>(c);
}

std::vector<TickLine> tick_lines(float begin, float end, float first, float step, int len,
                                 int minor_len, int major_len, int ticks, int x, int y, int log,
                                 int tick_pos, int axis) {
  std::vector<TickLine> out;
  if (ticks <= 0) return out;
  // One tick per decade on a logarithmic axis labelled at whole decades; the minor
  // ticks of the decades are added below.
  const bool decades = log == 1 && ticks > 1 && std::fabs(std::fabs(step) - 1.0f) < 1e-4f &&
                       std::fabs(first - std::round(first)) < 1e-4f;
  const int n = decades ? 1 : ticks;
  const float d = step / static_cast<float>(n);
  const float f = static_cast<float>(len - 1) / (end - begin);
  const int i_low = step_count((first - begin) / d, len);
  const int i_high = step_count((end - first) / d, len);
  const float along = axis == kAxisX ? static_cast<float>(x) : static_cast<float>(y);
  const float b =
      axis == kAxisX ? along + 0.5f + (first - begin) * f : along + 0.5f - (first - begin) * f;
  const int c = axis == kAxisX ? y : x;
  const int major_start = tick_pos == 2 ? c - major_len / 2 : c;
  const int minor_start = tick_pos == 2 ? c - minor_len / 2 : c;
  for (int i = -i_low; i <= i_high; ++i) {
    const float off = f * static_cast<float>(i) * d;
    const int p = trunc_to_int(axis == kAxisX ? b + off : b - off);
    if (i % n == 0)
      out.push_back(make_tick(p, major_start, major_len, true, axis));
    else
      out.push_back(make_tick(p, minor_start, minor_len, false, axis));
  }
  if (decades) {
    // Exponents beyond the float range hold no decades worth a tick.
    const float lo = std::fmax(std::fmin(begin, end), -40.0f);
    const float hi = std::fmin(std::fmax(begin, end), 40.0f);
    for (int k = static_cast<int>(std::floor(lo)); k < static_cast<int>(std::ceil(hi)); ++k) {
      for (int j = 2; j <= 9; ++j) {
        const float e = static_cast<float>(k) + std::log10(static_cast<float>(j));
        if (e < lo || e > hi) continue;
        const float off = (e - begin) * f;
        const int p = trunc_to_int(axis == kAxisX ? along + 0.5f + off : along + 0.5f - off);
        out.push_back(make_tick(p, minor_start, minor_len, false, axis));
      }
    }
  }
  return out;
}

void markx(float begin, float end, float first, float step, int len, int minor_len, int major_len,
           int ticks, int x, int y, int log, int tick_pos, int axis) {
  for (const TickLine& t : tick_lines(begin, end, first, step, len, minor_len, major_len, ticks, x,
                                      y, log, tick_pos, axis))
    rvline(t.x1, t.y1, t.x2, t.y2);
}

void rvline(int x1, int y1, int x2, int y2) {
  if (irv == 0)
    lineqq(x1, y1, x2, y2);
  else
    lineqq(x2, y2, x1, y1);
  irv = 1 - irv;
}

void reset_tick_state() {
  irv = 0;
}

}  // namespace stylus
