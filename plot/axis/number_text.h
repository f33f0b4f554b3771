// Numbers as label text: the field width of a number with a given count of decimals,
// the conversion itself, and integers without leading blanks.
#pragma once

namespace stylus {

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
// n as decimal text without leading blanks; text must hold 13 bytes. Returns its length.
int intcha(int n, char* text);

}  // namespace stylus
