// By-reference entry points: numbers arrive by address and texts as (address, hidden length)
// pairs without a zero end; keywords are cut to four characters and titles to 132 before the
// library sees them. A number that is not there (a null address) gives warning 2 naming the
// routine, and the routine is not called.
#include <initializer_list>

#include "state/messages.h"
#include "state/strings.h"
#include "stylus.h"

namespace {

constexpr int kKeywordMax = 4;
constexpr int kTitleMax = 132;
constexpr int kTextMax = 256;

using stylus::missing_argument;
using stylus::qqwrcp;

// A text argument as a zero-ended copy of at most N characters.
template <int N>
struct Text {
  Text(const char* src, stylus_len len) { qqwrcp(buf, src, N, len); }
  char buf[N + 1];
};
using Keyword = Text<kKeywordMax>;

}  // namespace

extern "C" {

float getver_(void) {
  return getver();
}
int getplv_(void) {
  return getplv();
}

void metafl_(const char* cfmt, stylus_len len_cfmt) {
  metafl(Keyword(cfmt, len_cfmt).buf);
}

void setpag_(const char* cpag, stylus_len len_cpag) {
  setpag(Keyword(cpag, len_cpag).buf);
}

void winini_(void) {
  winini();
}
void disini_(void) {
  disini();
}
void disfin_(void) {
  disfin();
}
void resall_(void) {
  resall();
}

void color_(const char* cname, stylus_len len_cname) {
  color(Keyword(cname, len_cname).buf);
}

void setclr_(const int* ncol) {
  if (!missing_argument(ncol, "setclr")) setclr(*ncol);
}

void setvlt_(const char* ctab, stylus_len len_ctab) {
  setvlt(Keyword(ctab, len_ctab).buf);
}

void linwid_(const int* nwidth) {
  if (!missing_argument(nwidth, "linwid")) linwid(*nwidth);
}

void height_(const int* n) {
  if (!missing_argument(n, "height")) height(*n);
}

void angle_(const int* deg) {
  if (!missing_argument(deg, "angle")) angle(*deg);
}

void messag_(const char* text, const int* x, const int* y, stylus_len len) {
  if (missing_argument(x, "messag") || missing_argument(y, "messag")) return;
  messag(Text<kTextMax>(text, len).buf, *x, *y);
}

int nlmess_(const char* text, stylus_len len) {
  return nlmess(Text<kTextMax>(text, len).buf);
}

void disalf_(void) {
  disalf();
}

void graf_(const float* xa, const float* xe, const float* xor_, const float* xstp, const float* ya,
           const float* ye, const float* yor, const float* ystp) {
  for (const float* v : {xa, xe, xor_, xstp, ya, ye, yor, ystp})
    if (missing_argument(v, "graf")) return;
  graf(*xa, *xe, *xor_, *xstp, *ya, *ye, *yor, *ystp);
}

void labdig_(const int* n, const char* axes, stylus_len axes_len) {
  if (!missing_argument(n, "labdig")) labdig(*n, Keyword(axes, axes_len).buf);
}

void name_(const char* text, const char* axes, stylus_len text_len, stylus_len axes_len) {
  name(Text<kTitleMax>(text, text_len).buf, Keyword(axes, axes_len).buf);
}

void hname_(const int* n) {
  if (!missing_argument(n, "hname")) hname(*n);
}

void curve_(const float* x, const float* y, const int* n) {
  if (!missing_argument(n, "curve")) curve(x, y, *n);
}

}  // extern "C"
