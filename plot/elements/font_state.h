// The character-set state of the stroke-font text: the text settings that belong to the
// font module, the registered alphabets, the alphabet prepared for drawing with its scales,
// and the working values of the text being drawn or measured.
#pragma once

#include <cstdint>

namespace stylus {

inline constexpr int kMaxAlphabets = 6;

// One registered alphabet.
struct Alphabet {
  const std::int16_t* ixptr = nullptr;  // x coordinate table (the packed table)
  const std::int16_t* iyptr = nullptr;  // y coordinate table (== ixptr when packed)
  int ncoord = 0;                       // words of the coordinate table
  const std::int16_t* ikptr = nullptr;  // glyph directory
  int ndir = 0;                         // words of the directory
  int ibopt = 0;                        // 1: packed points
  int alph_chars = 0;                   // character codes from 32 on; 0: not registered
  int alph_width = 0, alph_height = 0;  // design cell in design units
  float alph_spacing = 0.0f;            // gap between characters as a fraction of h
  int alph_kbase = 0;                   // 0: uses the first directory
};

// Working values of one text, set up at its start by the text output and the measuring.
struct TextWork {
  int alphabet = 1;
  float width_factor = 1.0f, spacing = 0.0f, slant = 0.0f;
  float shift_up = 0.0f, shift_down = 0.0f;  // baseline shifts of exponents and indices
  int text_height = 0;                       // height at the start of the text
  int text_color = 0;                        // colour at the start of the text
  float pen_x = 0.0f, pen_y = 0.0f;          // on the baseline, page coordinates
};

struct FontRecord {
  // Text settings (no operation of this system changes them; they keep these values).
  float char_width_factor = 1.0f;  // horizontal stretch of the glyphs
  float char_spacing = 0.0f;       // extra gap between characters, fraction of h
  float char_slant = 0.0f;         // horizontal shear per unit of height
  int fixed_pitch = 0;             // 1: one cell width for every character
  int font_type = 1;               // built-in stroke font; 1 the default font
  int base_alphabet = 1;           // alphabet at the start of every text
  int exponent_mode = 0;           // 1: the control characters raise and lower the text
  int blank_width = 6;             // advance of the blank in design units
  int text_frame = 0;              // either switch set: no page tests for texts
  int text_blanking = 0;

  // Registered alphabets.
  Alphabet alphabets[kMaxAlphabets];
  int n_alphabets = 0;
  int dir_sum = 0;  // direction words registered so far

  // The alphabet prepared for drawing (0: none) and its copies and scales.
  int prepared = 0;
  const std::int16_t* nxptr = nullptr;
  const std::int16_t* nyptr = nullptr;
  const std::int16_t* nkptr = nullptr;
  int nbopt = 0;
  int n_coord = 0, n_dir = 0;
  float x_scale = 0.0f, y_scale = 0.0f;  // points per design unit
  float char_gap = 0.0f;                 // gap after each character in points

  // Working values of the current text.
  TextWork work;
};

extern FontRecord g_fonts;

}  // namespace stylus
