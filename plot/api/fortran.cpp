// By-reference entry points: numbers arrive by address and texts as (address, hidden length)
// pairs without a zero end; keywords are cut to four characters and titles to 132 before the
// library sees them. A number that is not there (a null address) gives warning 2 naming the
// routine, and the routine is not called. (rimage_, rtiff_ and rpng_ live with their
// routines in api/images.cpp.)
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>

#include "records/messages.h"
#include "records/strings.h"
#include "stylus.h"

namespace {

constexpr int kKeywordMax = 4;
constexpr int kTitleMax = 132;
constexpr int kTextMax = 256;

using stylus::missing_argument;
using stylus::qqwrcp;

// Copies a text result into a caller's text of len characters, padded with blanks.
void fill_text(char* dst, stylus_len len, const char* src) {
  if (dst == nullptr || len <= 0) return;
  const std::size_t n = static_cast<std::size_t>(len);
  const std::size_t m = std::min(n, std::strlen(src));
  std::memcpy(dst, src, m);
  std::memset(dst + m, ' ', n - m);
}

// A text argument as a zero-ended copy of at most N characters.
template <int N>
struct Text {
  Text(const char* src, stylus_len len) { qqwrcp(buf, src, N, len); }
  char buf[N + 1];
};
using Keyword = Text<kKeywordMax>;

// The handler of a Fortran program, called through a handler of the C interface.
stylus_warning_ref g_fortran_handler = nullptr;

int call_fortran_handler(int number, const char* routine, const char* line) {
  return g_fortran_handler(&number, routine, line, static_cast<stylus_len>(std::strlen(routine)),
                           static_cast<stylus_len>(std::strlen(line)));
}

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

void dddate_(char* cdate, stylus_len len) {
  fill_text(cdate, len, dddate());
}

void ddtime_(char* ctime, stylus_len len) {
  fill_text(ctime, len, ddtime());
}

void msgmod_(const char* cmode, stylus_len len) {
  msgmod(Keyword(cmode, len).buf);
}

int nwarns_(void) {
  return nwarns();
}

void lintyp_(const int* type) {
  if (!missing_argument(type, "lintyp")) lintyp(*type);
}

void myline_(const int* pattern, const int* n) {
  if (!missing_argument(n, "myline")) myline(pattern, *n);
}

void solid_(void) {
  solid();
}
void dash_(void) {
  dash();
}
void dashm_(void) {
  dashm();
}
void dashl_(void) {
  dashl();
}
void dotl_(void) {
  dotl();
}
void chndot_(void) {
  chndot();
}
void chndsh_(void) {
  chndsh();
}

void lnmlt_(const float* factor) {
  if (!missing_argument(factor, "lnmlt")) lnmlt(*factor);
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

// The page positions give 0 for a missing value, after the warning.
float xposn_(const float* x) {
  return missing_argument(x, "xposn") ? 0.0f : xposn(*x);
}
float yposn_(const float* y) {
  return missing_argument(y, "yposn") ? 0.0f : yposn(*y);
}
int nxposn_(const float* x) {
  return missing_argument(x, "nxposn") ? 0 : nxposn(*x);
}
int nyposn_(const float* y) {
  return missing_argument(y, "nyposn") ? 0 : nyposn(*y);
}

void trfrel_(float* xs, float* ys, const int* n) {
  if (!missing_argument(n, "trfrel")) trfrel(xs, ys, *n);
}

void setfil_(const char* name, stylus_len len) {
  // A name of any length reaches setfil, which refuses one that is too long.
  if (missing_argument(name, "setfil")) return;
  std::string buf(name, len > 0 ? static_cast<std::size_t>(len) : 0);
  buf.resize(std::min(buf.size(), std::strlen(buf.c_str())));
  buf.resize(static_cast<std::size_t>(stylus::trmlen(buf.c_str())));
  setfil(buf.c_str());
}

void getfil_(char* name, stylus_len len) {
  fill_text(name, len, getfil());
}

void setwrn_(stylus_warning_ref handler) {
  g_fortran_handler = handler;
  setwrn(handler != nullptr ? call_fortran_handler : nullptr);
}

}  // extern "C"
