// Font registration: starting a font type, registering its alphabets, and loading the
// default font whose alphabet 1 comes from the built-in tables of font_data.cpp.
#include "elements/font.h"

#include <cstdlib>

#include "elements/font_data.h"
#include "elements/font_state.h"
#include "records/state.h"
#include "stylus.h"
#include "records/api_call.h"

using stylus::api_failure;
using stylus::ApiCall;

namespace stylus {

FontRecord g_fonts;

namespace {

// Design cell and spacing of alphabet k (1-based) of a font type.
void set_cell(Alphabet& a, int type, int k) {
  const bool latin = k == 1 || k == 2 || k == 4;
  if (type == 1 && latin) {
    a.alph_width = 6, a.alph_height = 7, a.alph_spacing = 0.0f;
  } else if (type == 2 && latin) {
    a.alph_width = 12, a.alph_height = 13, a.alph_spacing = 1.0f / 6.0f;
  } else if (type > 10 && (k == 1 || k == 4)) {
    a.alph_width = 200, a.alph_height = 200, a.alph_spacing = 0.2f;
  } else {
    a.alph_width = 20, a.alph_height = 21, a.alph_spacing = 0.25f;
  }
}

}  // namespace

void lcinit(int type) {
  g_fonts.n_alphabets = 0;
  g_fonts.dir_sum = 0;
  g_fonts.prepared = 0;
  g_fonts.font_type = type;
  for (int k = 1; k <= kMaxAlphabets; ++k) {
    Alphabet& a = g_fonts.alphabets[k - 1];
    a = Alphabet{};
    set_cell(a, type, k);
  }
  g_fonts.blank_width = type == 1 ? 6 : type == 2 ? 5 : type <= 10 ? 9 : 60;
}

void lcsets(const std::int16_t* xtab, const std::int16_t* ytab, int ncoord, const std::int16_t* dir,
            int ndir, int nchars) {
  if (g_fonts.n_alphabets >= kMaxAlphabets) return;
  Alphabet& a = g_fonts.alphabets[g_fonts.n_alphabets];
  const Alphabet& first = g_fonts.alphabets[0];
  if (ncoord != 0) {
    a.ixptr = xtab, a.iyptr = ytab;
    a.ncoord = std::abs(ncoord);
    a.ibopt = ncoord > 0 ? 1 : 0;
  } else {
    a.ixptr = first.ixptr, a.iyptr = first.iyptr;
    a.ncoord = first.ncoord;
    a.ibopt = first.ibopt;
  }
  if (ndir != 0) {
    a.ikptr = dir, a.ndir = ndir;
    a.alph_kbase = g_fonts.dir_sum;
  } else {
    a.ikptr = first.ikptr, a.ndir = first.ndir;
    a.alph_kbase = 0;
  }
  a.alph_chars = nchars;
  g_fonts.dir_sum += ndir;
  ++g_fonts.n_alphabets;
}

void ensure_font() {
  if (g_fonts.n_alphabets == 0) disalf();
}

}  // namespace stylus

// The default font. Only alphabet 1 exists: the Greek alphabet 2 and the further
// alphabets 3 to 6 of this font are not built, so texts always use alphabet 1.
extern "C" void disalf(void) try {
  const ApiCall call;
  stylus::lcinit(1);
  stylus::lcsets(stylus::ix1, stylus::ix1, stylus::ix1_words, stylus::j1, stylus::j1_words, 132);
} catch (...) {
  api_failure();
}
