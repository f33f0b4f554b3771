// The text routines of the stroke font: height and angle, drawing a text (messag, dtext)
// with its page tests, and measuring it (nlmess) by running the same per-character code
// without output.
#include "elements/text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "elements/font.h"
#include "elements/font_state.h"
#include "records/messages.h"
#include "records/state.h"
#include "records/strings.h"
#include "stylus.h"
#include "records/api_call.h"

namespace stylus {

namespace {

constexpr int kMaxText = 256;
constexpr float kDegToRad = 0.017453292f;

// Copies at most 256 characters of text and returns its length without trailing blanks.
int copy_text(char (&buf)[kMaxText + 1], const char* text) {
  if (text == nullptr) {
    buf[0] = '\0';
    return 0;
  }
  qqcopy(buf, text, kMaxText);
  return trmlen(buf);
}

// Per-text set-up shared by drawing and measuring.
void begin_text() {
  ensure_font();
  TextWork& w = g_fonts.work;
  int base = g_fonts.base_alphabet;
  if (base < 1 || base > kMaxAlphabets || g_fonts.alphabets[base - 1].alph_chars == 0) base = 1;
  w.alphabet = base;
  w.text_height = g_ivray.char_height;
  w.text_color = g_ivray.cur_color;
  w.width_factor = g_fonts.char_width_factor;
  w.spacing = g_fonts.char_spacing;
  w.slant = g_fonts.char_slant;
  w.shift_up = w.shift_down = 0.0f;
  g_fonts.prepared = 0;
}

// In exponent mode the control characters raise, lower and restore the text instead of
// being drawn; returns whether c was one of them. Measuring changes only the height.
bool exponent_control(char c, bool measure) {
  if (!g_fonts.exponent_mode) return false;
  const char* cc = g_control.ctrl_chars;
  TextWork& w = g_fonts.work;
  const int h = g_ivray.char_height;
  if (c == cc[0]) {
    if (!measure) w.shift_up += g_xvray.label_factor * static_cast<float>(h);
    set_char_height(nintqq(g_xvray.message_factor * static_cast<float>(h)));
  } else if (c == cc[1]) {
    const int lower = nintqq(g_xvray.message_factor * static_cast<float>(h));
    set_char_height(lower);
    if (!measure) w.shift_down -= g_xvray.label_factor * static_cast<float>(lower);
  } else if (c == cc[2]) {
    set_char_height(w.text_height);
    if (!measure) w.shift_up = w.shift_down = 0.0f;
  } else {
    return false;
  }
  return true;
}

// The start and end tests of a text: a point off the page counts a warning and is
// reported, but the text is drawn all the same.
void check_on_page(const char* what, int x, int y, const char* text, int n) {
  if (g_fonts.text_frame || g_fonts.text_blanking) return;
  if (x >= 0 && x <= g_ivray.page_nx && y >= 0 && y <= g_ivray.page_ny) return;
  ++g_ivray.n_warnings;
  std::FILE* out = g_control.msg_stream;
  if (g_ivray.msg_unit == 0 || out == nullptr) return;
  std::fprintf(out, " <<<< Warning: %s (%5d/%5d) ", what, x, y);
  std::fprintf(out, "in MESSAG out of page - (%s).\n",
               echo_text(text, static_cast<std::size_t>(std::clamp(n, 0, 8))).c_str());
}

}  // namespace

// Far-away pen positions (a text placed near the int limits) are held at the int range.
int nintqq(float v) {
  const double d = v >= 0.0f ? static_cast<double>(v) + 0.5 : static_cast<double>(v) - 0.5;
  if (std::isnan(d)) return 0;
  if (d >= 2147483647.0) return 2147483647;
  if (d <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(d);
}

void qqmess(const char* text, int x, int y) {
  if (jqqlev(1, 3, "messag") != 0) return;
  char buf[kMaxText + 1];
  const int n = copy_text(buf, text);
  if (n == 0) return;
  begin_text();
  TextWork& w = g_fonts.work;
  const float sn = g_xvray.text_sin, cs = g_xvray.text_cos;
  if (x != 999 || y != 999) {
    const int px = x + g_ivray.page_offset_x, py = y + g_ivray.page_offset_y;
    const float h1 = static_cast<float>(g_ivray.char_height - 1);
    w.pen_x = static_cast<float>(px) + h1 * sn;
    w.pen_y = static_cast<float>(py) + h1 * cs;
    check_on_page("Startpoint", px, py, buf, n);
  }
  for (int k = 0; k < n; ++k)
    if (!exponent_control(buf[k], false)) alfcha(static_cast<unsigned char>(buf[k]), false);
  w.shift_up = w.shift_down = 0.0f;
  check_on_page("Endpoint  ", nintqq(w.pen_x - cs * g_fonts.char_gap),
                nintqq(w.pen_y + sn * g_fonts.char_gap), buf, n);
  if (g_ivray.char_height != w.text_height) set_char_height(w.text_height);
  if (g_ivray.cur_color != w.text_color) setclr(w.text_color);
}

void dtext(const char* text, int x, int y, int deg, int h) {
  const int old_height = g_ivray.char_height, old_angle = g_ivray.text_angle;
  const bool new_height = h != old_height, new_angle = deg != old_angle;
  if (new_height) ::height(h);
  if (new_angle) ::angle(deg);
  if (x == 999 && y == 999) x = 1000;  // dtext always starts a text of its own
  qqmess(text, x, y);
  if (new_height) ::height(old_height);
  if (new_angle) ::angle(old_angle);
}

}  // namespace stylus

using namespace stylus;

extern "C" void height(int n) try {
  const ApiCall call;
  if (jqqlev(1, 3, "height") != 0) return;
  if (jqqval(n, 1, 10000) != 0) return;
  set_char_height(n);
} catch (...) {
  api_failure();
}

extern "C" void angle(int deg) try {
  const ApiCall call;
  chkini("angle");
  g_ivray.text_angle = deg;
  const float rad = static_cast<float>(deg) * kDegToRad;
  g_xvray.text_sin = static_cast<float>(std::sin(static_cast<double>(rad)));
  g_xvray.text_cos = static_cast<float>(std::cos(static_cast<double>(rad)));
} catch (...) {
  api_failure();
}

extern "C" void messag(const char* text, int x, int y) try {
  const ApiCall call;
  if (missing_argument(text, "messag")) return;
  qqmess(text, x, y);
} catch (...) {
  api_failure();
}

extern "C" int nlmess(const char* text) try {
  const ApiCall call;
  if (missing_argument(text, "nlmess")) return 0;
  char buf[kMaxText + 1];
  const int n = copy_text(buf, text);
  if (n == 0) return 0;
  // A text in progress (one that a later messag continues with 999, 999) keeps its pen.
  ensure_font();
  const TextWork saved = g_fonts.work;
  const int saved_height = g_ivray.char_height;
  begin_text();
  TextWork& w = g_fonts.work;
  w.pen_x = w.pen_y = 0.0f;
  int width = 0;
  for (int k = 0; k < n; ++k) {
    if (exponent_control(buf[k], true)) continue;
    alfcha(static_cast<unsigned char>(buf[k]), true);
    const float reach = std::sqrt(w.pen_x * w.pen_x + w.pen_y * w.pen_y) - g_fonts.char_gap;
    width = std::max(width, nintqq(reach));
  }
  g_fonts.work = saved;
  set_char_height(saved_height);
  return width;
} catch (...) {
  api_failure();
  return 0;
}
