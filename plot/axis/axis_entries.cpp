// By-reference entries of the axis routines: numbers are passed on by value, texts are
// copied into zero-ended buffers first (at most 4 characters of an axis selector, 132 of
// a title).
#include "state/strings.h"
#include "stylus.h"

using namespace stylus;

extern "C" void graf_(const float* xa, const float* xe, const float* xor_, const float* xstp,
                      const float* ya, const float* ye, const float* yor, const float* ystp) {
  graf(*xa, *xe, *xor_, *xstp, *ya, *ye, *yor, *ystp);
}

extern "C" void labdig_(const int* n, const char* axes, stylus_len axes_len) {
  char key[5];
  qqwrcp(key, axes, 4, axes_len);
  labdig(*n, key);
}

extern "C" void name_(const char* text, const char* axes, stylus_len text_len,
                      stylus_len axes_len) {
  char title[133];
  char key[5];
  qqwrcp(title, text, 132, text_len);
  qqwrcp(key, axes, 4, axes_len);
  name(title, key);
}

extern "C" void hname_(const int* n) {
  hname(*n);
}
