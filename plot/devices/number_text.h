// Decimal text of numbers for the drivers' records, written straight into a character
// buffer: exactly the characters of the printf conversion named at each routine, without the
// cost of printf for every point of a drawing.
#pragma once

namespace stylus {

// A buffer that holds the text of any number written by these routines.
inline constexpr int kNumberTextSize = 64;

// "%d"; returns the number of characters written.
int int_text(char* out, int v);
// "%*d" with the width (0..32); returns the number of characters written.
int int_text(char* out, int v, int width);
// "%*.*f" of the float as a double (width 0..32, decimals 0..9); returns the number of
// characters written (at most kNumberTextSize - 1). Numbers too large for the exact integer
// method below, and infinities and NaNs, are written by snprintf itself.
int fixed_text(char* out, float v, int decimals, int width);

}  // namespace stylus
