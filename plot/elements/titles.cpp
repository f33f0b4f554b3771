// Axis titles: name and hname store them, namex places and draws the title of the axis
// that daxis is drawing.
#include "elements/titles.h"

#include <cctype>
#include <cstring>

#include "elements/axis_state.h"
#include "elements/scaling.h"
#include "elements/text.h"
#include "records/messages.h"
#include "records/state.h"
#include "records/strings.h"
#include "stylus.h"
#include "records/api_call.h"

namespace stylus {

namespace {

constexpr int kMaxTitleChars = 60;

// Title distance from the axis line: past the ticks and the label distance.
int title_distance(int axis) {
  const int a = axis - 1;
  int d = g_axis.name_dist[axis == kAxisX ? 0 : 1];
  if (g_axis.tick_count[a] != 0) {
    if (g_axis.tick_pos[a] == 0) d += g_axis.major_tick_len;
    if (g_axis.tick_pos[a] == 2) d += g_axis.major_tick_len / 2;
  }
  if (g_axis.label_type[a] != 0) d += g_axis.label_dist[a];
  return d;
}

}  // namespace

TitlePlacement title_placement(int width, int len, int side, int x, int y, int extent, int axis) {
  const int d = title_distance(axis);
  const int h = g_ivray.name_height;
  const int just = g_axis.title_just[axis - 1];
  int c = 0;
  if (just == 0) c = trunc_to_int(static_cast<float>(len - width) * 0.5f);
  if (just == 2) c = len - width;
  if (axis == kAxisX) return {x + c, side == 0 ? y + d + extent : y + d - h - extent, 0};
  if (side == 1) return {x + d - h - extent, y - c, 90};
  if (g_axis.right_title_up == 0) return {x + d + h + extent, y - len + 1 + c, 270};
  return {x + d + extent, y - c, 90};
}

void namex(const char* title, int len, int side, int x, int y, int extent, int axis) {
  if (trmlen(title) == 0) return;
  const int remembered = g_ivray.char_height;
  height(g_ivray.name_height);
  const int w = nlmess(title);
  height(remembered);
  const TitlePlacement p = title_placement(w, len, side, x, y, extent, axis);
  dtext(title, p.x, p.y, p.angle, g_ivray.name_height);
}

}  // namespace stylus

using namespace stylus;

extern "C" void name(const char* text, const char* axes) try {
  const ApiCall call;
  if (missing_argument(text, "name") || missing_argument(axes, "name")) return;
  char key[4] = {};
  for (int i = 0; i < 3 && axes[i] != '\0'; ++i)
    key[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(axes[i])));
  chkini("name");
  char* titles[3] = {g_titles.axis_title_x, g_titles.axis_title_y, g_titles.axis_title_z};
  const char letters[3] = {'X', 'Y', 'Z'};
  for (int i = 0; i < 3; ++i) {
    if (std::strchr(key, letters[i]) == nullptr) continue;
    std::strncpy(titles[i], text, kMaxTitleChars);
    titles[i][kMaxTitleChars] = '\0';
  }
} catch (...) {
  api_failure();
}

extern "C" void hname(int n) try {
  const ApiCall call;
  chkini("hname");
  if (jqqval(n, 1, 10000) != 0) return;
  g_ivray.name_height = n;
} catch (...) {
  api_failure();
}
