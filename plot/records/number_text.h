// Numbers as text: the fast writers of the drivers' records ("%d", "%*d", "%*.*f" without
// the cost of printf for every point of a drawing) and the conversion of axis labels (field
// width, decimals dropped or the exponent form when a label would not fit).
#pragma once

namespace stylus {

// A buffer that holds the text of any number written by int_text and fixed_text.
inline constexpr int kNumberTextSize = 64;

// "%d"; returns the number of characters written.
int int_text(char* out, int v);
// "%*d" with the width (0..32); returns the number of characters written.
int int_text(char* out, int v, int width);
// "%*.*f" of the float as a double (width 0..32, decimals 0..9); returns the number of
// characters written (at most kNumberTextSize - 1). Numbers too large for the exact integer
// method below, and infinities and NaNs, are written by snprintf itself.
int fixed_text(char* out, float v, int decimals, int width);

// A label text holds at most this many characters (plus its terminating zero).
inline constexpr int kMaxLabelChars = 19;

// Field width of value written with `digits` decimals (digits < 0: as a rounded
// integer), counting the sign and the decimal point.
int flen(float value, int digits);
// Writes value with `digits` decimals (-1: rounded half away from zero to an integer)
// into text, which must hold kMaxLabelChars + 1 bytes; returns the text length. A text
// that would be longer than kMaxLabelChars drops decimals first and falls back to the
// exponent form, so it always fits.
int fcha(float value, int digits, char* text);

}  // namespace stylus
