// The per-character stroke renderer: scales of the prepared alphabet, the advance of one
// character, and its polylines turned into pen moves and draws at the current angle.
#include "elements/font.h"
#include "elements/font_state.h"
#include "pen/pen.h"
#include "records/state.h"

namespace stylus {

namespace {

GlyphTables prepared_tables() {
  return {g_fonts.nxptr, g_fonts.nyptr, g_fonts.n_coord,
          g_fonts.nbopt, g_fonts.nkptr, g_fonts.n_dir};
}

// Index of the question mark, which stands in for every code without a glyph.
constexpr int kQuestionMark = '?' - 31;

}  // namespace

void set_char_height(int h) {
  g_ivray.char_height = h;
  g_fonts.prepared = 0;
}

void salfpa(int alphabet) {
  if (alphabet == g_fonts.prepared) return;
  const Alphabet& a = g_fonts.alphabets[alphabet - 1];
  const TextWork& w = g_fonts.work;
  const int h = g_ivray.char_height;
  g_fonts.x_scale = static_cast<float>(h - 1) * w.width_factor / static_cast<float>(a.alph_width);
  g_fonts.y_scale = static_cast<float>(h - 1) / static_cast<float>(a.alph_height);
  if (g_fonts.fixed_pitch)
    g_fonts.char_gap = w.spacing * static_cast<float>(h);
  else
    g_fonts.char_gap = (a.alph_spacing + w.spacing) * static_cast<float>(h);
  g_fonts.nxptr = a.ixptr, g_fonts.nyptr = a.iyptr, g_fonts.nkptr = a.ikptr;
  g_fonts.nbopt = a.ibopt;
  g_fonts.n_coord = a.ncoord, g_fonts.n_dir = a.ndir;
  g_fonts.prepared = alphabet;
}

bool gconpa(const std::int16_t* record, int& pos, PolylineEntry& entry) {
  return next_polyline(prepared_tables(), record, record[0], pos, entry);
}

float gmxcln(const std::int16_t* record) {
  // The default font gives every character of its own alphabet the same advance.
  if (g_fonts.font_type == 1 && g_fonts.alphabets[g_fonts.work.alphabet - 1].alph_kbase == 0)
    return 6.0f;
  return record_extent(prepared_tables(), record);
}

void alfcon(const PolylineEntry& e) {
  const TextWork& w = g_fonts.work;
  const float sn = g_xvray.text_sin, cs = g_xvray.text_cos;
  const float s = w.shift_up + w.shift_down;
  const float bx = w.pen_x - s * sn;
  const float by = w.pen_y - s * cs;
  const GlyphTables t = prepared_tables();
  for (int k = 0; k < e.count; ++k) {
    const DesignPoint p = table_point(t, e.start + k);
    const float v = (static_cast<float>(p.y) + e.dy) * g_fonts.y_scale;
    float u = (static_cast<float>(p.x) + e.dx) * g_fonts.x_scale + v * w.slant;
    if (w.alphabet == 4) u += v / 3.732f;  // the italic alphabet leans by about 15 degrees
    const float x = bx + u * cs - v * sn;
    const float y = by - u * sn - v * cs;
    if (k == 0)
      xmove(x, y);
    else
      xdraw(x, y);
  }
}

void alfcha(int code, bool measure) {
  TextWork& w = g_fonts.work;
  int i = (code & 0xFF) - 31;
  if (i < 1 || i > g_fonts.alphabets[w.alphabet - 1].alph_chars) i = kQuestionMark;
  salfpa(w.alphabet);
  float width;
  if (i == 1) {
    width = static_cast<float>(g_fonts.blank_width) * g_fonts.x_scale;
  } else {
    // Codes that the alphabet counts but its directory has no record for show "?" too.
    int at = locate_record(g_fonts.nkptr, g_fonts.n_dir, i);
    if (at < 0) at = locate_record(g_fonts.nkptr, g_fonts.n_dir, kQuestionMark);
    if (at < 0) {
      width = static_cast<float>(g_fonts.blank_width) * g_fonts.x_scale;
    } else {
      const std::int16_t* record = g_fonts.nkptr + at;
      width = gmxcln(record) * g_fonts.x_scale;
      if (!measure) {
        int pos = 1;
        PolylineEntry e;
        while (gconpa(record, pos, e)) alfcon(e);
      }
    }
  }
  const float step = width + g_fonts.char_gap;
  w.pen_x += step * g_xvray.text_cos;
  w.pen_y -= step * g_xvray.text_sin;
}

}  // namespace stylus
