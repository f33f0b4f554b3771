// Numeric labels of an axis: texts from the label decimals, centred on their ticks
// (x axis) or ending at the label line (y axis), and the labdig setting.
// Horizontal numeric labels only: the label orientation, label range and the other
// label types and kinds are settings no routine changes, and they are ignored.
#include "elements/labels.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "elements/axis_state.h"
#include "elements/scaling.h"
#include "elements/text.h"
#include "elements/ticks.h"
#include "records/messages.h"
#include "records/state.h"
#include "stylus.h"
#include "records/api_call.h"

namespace stylus {

namespace {

constexpr float kTiny = 1.0e-35f;

int label_digits(int axis) {
  if (axis == kAxisX) return g_ivray.label_digits_x;
  if (axis == kAxisY) return g_ivray.label_digits_y;
  return g_ivray.label_digits_z;
}

// The label line: the axis line moved out by the ticks and the label distance.
int label_line(int x, int y, int axis) {
  const int a = axis - 1;
  int d = (axis == kAxisX ? y : x) + g_axis.label_dist[a];
  if (g_axis.tick_count[a] != 0) {
    if (g_axis.tick_pos[a] == 0) d += g_axis.major_tick_len;
    if (g_axis.tick_pos[a] == 2) d += g_axis.major_tick_len / 2;
  }
  return d;
}

int nlmess_width(const char* text) {
  return nlmess(text);
}

}  // namespace

int glabxy(float value, int index, int log, int axis, char* text) {
  (void)index;  // used by the label kinds that number their labels
  const int digits = label_digits(axis);
  if (log != 1) return fcha(value, digits, text);
  if (g_axis.log_label_style[axis - 1] != 1)
    return fcha(static_cast<float>(std::pow(10.0, value)), digits, text);
  // "10", the raise character, the exponent, the character back to normal.
  char exponent[kMaxLabelChars + 1];
  fcha(value, digits, exponent);
  exponent[kMaxLabelChars - 4] = '\0';
  text[0] = '1', text[1] = '0', text[2] = g_control.ctrl_chars[0];
  std::strcpy(text + 3, exponent);
  const size_t n = std::strlen(text);
  text[n] = g_control.ctrl_chars[2];
  text[n + 1] = '\0';
  return static_cast<int>(n + 1);
}

int label_width_max(float end, float first, float step, int len, int axis, const TextWidth& width) {
  const int n = step_count((end - first) / step, len);
  const int log = g_axis.log_axis[axis - 1];
  int widest = 0;
  for (int i = 0; i <= n; ++i) {
    const float v = step * static_cast<float>(i) + first;
    char text[kMaxLabelChars + 1];
    glabxy(v, i, log, axis, text);
    widest = std::max(widest, width(text));
  }
  return widest;
}

LabelLayout label_layout(float begin, float end, float first, float step, int len, int side, int x,
                         int y, int log, int axis, int h, const TextWidth& width) {
  LabelLayout out{{}, 0};
  const int a = axis - 1;
  if (g_axis.label_type[a] == 0) return out;
  const int d = label_line(x, y, axis);
  int n = step_count((end - first) / step, len);
  if (g_axis.label_pos[a] == 1) --n;
  const float f = static_cast<float>(len - 1) / (end - begin);
  const float fh = static_cast<float>(h);
  int top_x = 0;
  if (axis == kAxisX) {
    out.extent = h;
    top_x = side == 0 ? d : d - h;
  } else {
    out.extent = label_width_max(end, first, step, len, axis, width);
  }
  const int just = g_axis.label_just[a];
  const bool left_aligned = just == 1 || (just == 3 && side == 1) || (just == 4 && side == 0);
  for (int i = 0; i <= n; ++i) {
    float v = step * static_cast<float>(i) + first;
    if (g_axis.crossed_axes == 1 && std::fabs(v) < kTiny) continue;
    LabelPlacement p{};
    glabxy(v, i, log, axis, p.text);
    if (g_axis.label_pos[a] == 1) v += 0.5f * step;
    const int w = width(p.text);
    if (axis == kAxisX) {
      p.left = trunc_to_int(static_cast<float>(x) + 0.5f + (v - begin) * f -
                            0.5f * static_cast<float>(w));
      if (g_axis.label_pos[a] == 2) p.left = std::max(x, std::min(p.left, x + len - w));
      p.top = top_x;
    } else {
      p.top = trunc_to_int((static_cast<float>(y) - 0.5f) - (v - begin) * f - 0.5f * fh);
      if (left_aligned)
        p.left = side == 1 ? d - out.extent : d;
      else
        p.left = side == 1 ? d - w : d + out.extent - w;
    }
    out.labels.push_back(p);
  }
  return out;
}

int labelx(float begin, float end, float first, float step, int len, int side, int x, int y,
           int log, int axis) {
  const int h = g_ivray.char_height;
  const LabelLayout layout =
      label_layout(begin, end, first, step, len, side, x, y, log, axis, h, nlmess_width);
  for (const LabelPlacement& p : layout.labels) dtext(p.text, p.left, p.top, 0, h);
  return layout.extent;
}

}  // namespace stylus

using namespace stylus;

extern "C" void labdig(int n, const char* axes) try {
  const ApiCall call;
  chkini("labdig");
  if (missing_argument(axes, "labdig")) return;
  if (jqqval(n, -1, 100) != 0) return;
  char key[4] = {};
  for (int i = 0; i < 3 && axes[i] != '\0'; ++i)
    key[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(axes[i])));
  // The axes named among the first three letters; the keywords of the bar, pie and
  // contour plots ("BAR", "PIE", ...) name none.
  if (std::strchr(key, 'X')) g_ivray.label_digits_x = n;
  if (std::strchr(key, 'Y')) g_ivray.label_digits_y = n;
  if (std::strchr(key, 'Z')) g_ivray.label_digits_z = n;
} catch (...) {
  api_failure();
}
