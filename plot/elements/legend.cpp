// Legends: legini starts one and every later curve becomes an entry (as slegnd records it),
// leglin gives an entry its text, legend and legpag draw the framed box of samples and
// stroke-font texts in a corner of the axis system or at a page point, sized to its contents.
#include <algorithm>
#include <cstring>

#include "elements/curve.h"
#include "elements/symbols.h"
#include "elements/text.h"
#include "pen/linestyle.h"
#include "pen/pen.h"
#include "records/api_call.h"
#include "records/messages.h"
#include "records/state.h"
#include "stylus.h"

namespace stylus {
namespace {

// The box of a legend of n entries, in points: margin, sample length, row pitch, the
// widest text, and the box's size.
struct LegendLayout {
  int n = 0;
  int margin = 0, sample = 0, pitch = 0, text_width = 0;
  int width = 0, height = 0;
};

// The entries to show: warning 15 without legini, 42 when a line has a text but no curve
// (an empty legend shows nothing).
bool legend_layout(LegendLayout& l) {
  if (g_legend.n_lines == 0) {
    warnin(15);
    return false;
  }
  l.n = std::min(g_legend.n_lines, g_legend.n_legend);
  bool text_without_curve = false;
  for (int k = l.n; k < g_legend.n_lines; ++k) text_without_curve |= g_legend.text[k][0] != '\0';
  if (l.n == 0 || text_without_curve) warnin(42);
  if (l.n == 0) return false;
  const int h = g_ivray.char_height;
  l.margin = std::max(1, nintqq(0.5f * static_cast<float>(h)));
  l.sample = 3 * h;
  l.pitch = nintqq(1.5f * static_cast<float>(h));
  for (int k = 0; k < l.n; ++k) {
    if (g_legend.symbol[k] >= 0) l.pitch = std::max(l.pitch, g_curve.symbol_size + l.margin);
    l.text_width = std::max(l.text_width, nlmess(g_legend.text[k]));
  }
  l.width = 2 * l.margin + l.sample + (l.text_width > 0 ? l.margin + l.text_width : 0);
  l.height = 2 * l.margin + l.n * l.pitch;
  return true;
}

// Draws the legend with its upper-left corner at the page point (left, top).
void draw_legend(const LegendLayout& l, int left, int top) {
  const int saved_color = g_ivray.cur_color;
  const int saved_style = g_linestyle.line_style;
  const float x0 = static_cast<float>(left), y0 = static_cast<float>(top);
  const float x1 = x0 + static_cast<float>(l.width), y1 = y0 + static_cast<float>(l.height);
  const float ox = static_cast<float>(g_ivray.page_offset_x);
  const float oy = static_cast<float>(g_ivray.page_offset_y);
  xmove(x0 + ox, y0 + oy);
  xdraw(x1 + ox, y0 + oy);
  xdraw(x1 + ox, y1 + oy);
  xdraw(x0 + ox, y1 + oy);
  xdraw(x0 + ox, y0 + oy);
  const float m = static_cast<float>(l.margin), sample = static_cast<float>(l.sample);
  const int h = g_ivray.char_height;
  for (int k = 0; k < l.n; ++k) {
    const float cy = y0 + m + static_cast<float>(k * l.pitch) + 0.5f * static_cast<float>(l.pitch);
    setclr(g_legend.color[k]);
    if (g_legend.line_style[k] >= 0) {
      lintyp(g_legend.line_style[k]);
      strtqq(x0 + m, cy);
      connqq(x0 + m + sample, cy);
    }
    if (g_legend.symbol[k] >= 0) {
      draw_symbol(g_legend.symbol[k], x0 + m + 0.5f * sample, cy,
                  static_cast<float>(g_curve.symbol_size));
    }
    setclr(saved_color);
    // The text's capitals reach from its upper-left corner h - 1 points down to the baseline:
    // centred on the row.
    if (g_legend.text[k][0] != '\0') {
      dtext(g_legend.text[k], nintqq(x0 + 2.0f * m + sample),
            nintqq(cy - 0.5f * static_cast<float>(h - 1)), 0, h);
    }
  }
  lintyp(saved_style);
  qqstrk();
}

}  // namespace
}  // namespace stylus

using namespace stylus;

extern "C" void legini(int nlin) try {
  const ApiCall call;
  if (jqqlev(1, 3, "legini") != 0) return;
  if (jqqval(nlin, 1, kMaxLegendEntries) != 0) return;
  g_legend = LegendRecord{};
  g_legend.n_lines = nlin;
  // The next curve is the legend's first entry.
  g_curve.legend_entry = 1;
  g_curve.legend_pending = 1;
} catch (...) {
  api_failure();
}

extern "C" void leglin(const char* text, int ilin) try {
  const ApiCall call;
  if (jqqlev(1, 3, "leglin") != 0) return;
  if (missing_argument(text, "leglin")) return;
  if (g_legend.n_lines == 0) {
    warnin(15);
    return;
  }
  if (jqqval(ilin, 1, g_legend.n_lines) != 0) return;
  // Trailing blanks count for nothing (a Fortran text comes padded to its length).
  std::size_t n = std::strlen(text);
  while (n > 0 && text[n - 1] == ' ') --n;
  if (n > static_cast<std::size_t>(kLegendTextMax)) warnin(16);
  const std::size_t m = std::min(n, static_cast<std::size_t>(kLegendTextMax));
  char* line = g_legend.text[ilin - 1];
  std::memcpy(line, text, m);
  line[m] = '\0';
} catch (...) {
  api_failure();
}

extern "C" void legend(const char* cpos) try {
  const ApiCall call;
  if (jqqlev(2, 3, "legend") != 0) return;
  if (missing_argument(cpos, "legend")) return;
  const int corner = jqqind("UR  +UL  +LL  +LR  ", 4, cpos);
  if (corner == 0) return;
  LegendLayout l;
  if (!legend_layout(l)) return;
  // Inside the axis frame, one margin from its sides.
  const int left = g_ivray.axis_pos_x + l.margin;
  const int right = g_ivray.axis_pos_x + g_ivray.axis_len_x - 1 - l.margin - l.width;
  const int top = g_ivray.axis_pos_y - g_ivray.axis_len_y + 1 + l.margin;
  const int bottom = g_ivray.axis_pos_y - l.margin - l.height;
  draw_legend(l, corner == 1 || corner == 4 ? right : left, corner <= 2 ? top : bottom);
} catch (...) {
  api_failure();
}

extern "C" void legpag(int nx, int ny) try {
  const ApiCall call;
  if (jqqlev(1, 3, "legpag") != 0) return;
  LegendLayout l;
  if (!legend_layout(l)) return;
  draw_legend(l, nx, ny);
} catch (...) {
  api_failure();
}
