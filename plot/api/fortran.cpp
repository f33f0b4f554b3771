// By-reference entry points: numbers arrive by address and texts as (address, hidden length)
// pairs without a zero end; keywords are cut to four characters and titles to 132 before the
// library sees them. A number that is not there (a null address) gives warning 2 naming the
// routine, and the routine is not called. (rimage_, rtiff_ and rpng_ live with their
// routines in devices/image_files.cpp.)
#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "records/messages.h"
#include "records/strings.h"
#include "stylus.h"
#include "records/api_call.h"

using stylus::api_failure;
using stylus::ApiCall;

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

}  // namespace

extern "C" {

float getver_(void) try {
  const ApiCall call;
  return getver();
} catch (...) {
  api_failure();
  return 0.0f;
}
int getplv_(void) try {
  const ApiCall call;
  return getplv();
} catch (...) {
  api_failure();
  return 0;
}

void metafl_(const char* cfmt, stylus_len len_cfmt) try {
  const ApiCall call;
  metafl(Keyword(cfmt, len_cfmt).buf);
} catch (...) {
  api_failure();
}

void setpag_(const char* cpag, stylus_len len_cpag) try {
  const ApiCall call;
  setpag(Keyword(cpag, len_cpag).buf);
} catch (...) {
  api_failure();
}

void winini_(void) try {
  const ApiCall call;
  winini();
} catch (...) {
  api_failure();
}
void disini_(void) try {
  const ApiCall call;
  disini();
} catch (...) {
  api_failure();
}
void disfin_(void) try {
  const ApiCall call;
  disfin();
} catch (...) {
  api_failure();
}
void resall_(void) try {
  const ApiCall call;
  resall();
} catch (...) {
  api_failure();
}

void color_(const char* cname, stylus_len len_cname) try {
  const ApiCall call;
  color(Keyword(cname, len_cname).buf);
} catch (...) {
  api_failure();
}

void setclr_(const int* ncol) try {
  const ApiCall call;
  if (!missing_argument(ncol, "setclr")) setclr(*ncol);
} catch (...) {
  api_failure();
}

void setvlt_(const char* ctab, stylus_len len_ctab) try {
  const ApiCall call;
  setvlt(Keyword(ctab, len_ctab).buf);
} catch (...) {
  api_failure();
}

void linwid_(const int* nwidth) try {
  const ApiCall call;
  if (!missing_argument(nwidth, "linwid")) linwid(*nwidth);
} catch (...) {
  api_failure();
}

void dddate_(char* cdate, stylus_len len) try {
  const ApiCall call;
  fill_text(cdate, len, dddate());
} catch (...) {
  api_failure();
}

void ddtime_(char* ctime, stylus_len len) try {
  const ApiCall call;
  fill_text(ctime, len, ddtime());
} catch (...) {
  api_failure();
}

void msgmod_(const char* cmode, stylus_len len) try {
  const ApiCall call;
  msgmod(Keyword(cmode, len).buf);
} catch (...) {
  api_failure();
}

int nwarns_(void) try {
  const ApiCall call;
  return nwarns();
} catch (...) {
  api_failure();
  return 0;
}

void lintyp_(const int* type) try {
  const ApiCall call;
  if (!missing_argument(type, "lintyp")) lintyp(*type);
} catch (...) {
  api_failure();
}

void myline_(const int* pattern, const int* n) try {
  const ApiCall call;
  if (!missing_argument(n, "myline")) myline(pattern, *n);
} catch (...) {
  api_failure();
}

void solid_(void) try {
  const ApiCall call;
  solid();
} catch (...) {
  api_failure();
}
void dash_(void) try {
  const ApiCall call;
  dash();
} catch (...) {
  api_failure();
}
void dashm_(void) try {
  const ApiCall call;
  dashm();
} catch (...) {
  api_failure();
}
void dashl_(void) try {
  const ApiCall call;
  dashl();
} catch (...) {
  api_failure();
}
void dotl_(void) try {
  const ApiCall call;
  dotl();
} catch (...) {
  api_failure();
}
void chndot_(void) try {
  const ApiCall call;
  chndot();
} catch (...) {
  api_failure();
}
void chndsh_(void) try {
  const ApiCall call;
  chndsh();
} catch (...) {
  api_failure();
}

void lnmlt_(const float* factor) try {
  const ApiCall call;
  if (!missing_argument(factor, "lnmlt")) lnmlt(*factor);
} catch (...) {
  api_failure();
}

void height_(const int* n) try {
  const ApiCall call;
  if (!missing_argument(n, "height")) height(*n);
} catch (...) {
  api_failure();
}

void angle_(const int* deg) try {
  const ApiCall call;
  if (!missing_argument(deg, "angle")) angle(*deg);
} catch (...) {
  api_failure();
}

void messag_(const char* text, const int* x, const int* y, stylus_len len) try {
  const ApiCall call;
  if (missing_argument(x, "messag") || missing_argument(y, "messag")) return;
  messag(Text<kTextMax>(text, len).buf, *x, *y);
} catch (...) {
  api_failure();
}

int nlmess_(const char* text, stylus_len len) try {
  const ApiCall call;
  return nlmess(Text<kTextMax>(text, len).buf);
} catch (...) {
  api_failure();
  return 0;
}

void disalf_(void) try {
  const ApiCall call;
  disalf();
} catch (...) {
  api_failure();
}

void graf_(const float* xa, const float* xe, const float* xor_, const float* xstp, const float* ya,
           const float* ye, const float* yor, const float* ystp) try {
  const ApiCall call;
  for (const float* v : {xa, xe, xor_, xstp, ya, ye, yor, ystp})
    if (missing_argument(v, "graf")) return;
  graf(*xa, *xe, *xor_, *xstp, *ya, *ye, *yor, *ystp);
} catch (...) {
  api_failure();
}

void labdig_(const int* n, const char* axes, stylus_len axes_len) try {
  const ApiCall call;
  if (!missing_argument(n, "labdig")) labdig(*n, Keyword(axes, axes_len).buf);
} catch (...) {
  api_failure();
}

void name_(const char* text, const char* axes, stylus_len text_len, stylus_len axes_len) try {
  const ApiCall call;
  name(Text<kTitleMax>(text, text_len).buf, Keyword(axes, axes_len).buf);
} catch (...) {
  api_failure();
}

void hname_(const int* n) try {
  const ApiCall call;
  if (!missing_argument(n, "hname")) hname(*n);
} catch (...) {
  api_failure();
}

void curve_(const float* x, const float* y, const int* n) try {
  const ApiCall call;
  if (!missing_argument(n, "curve")) curve(x, y, *n);
} catch (...) {
  api_failure();
}

// The page positions give 0 for a missing value, after the warning.
float xposn_(const float* x) try {
  const ApiCall call;
  return missing_argument(x, "xposn") ? 0.0f : xposn(*x);
} catch (...) {
  api_failure();
  return 0.0f;
}
float yposn_(const float* y) try {
  const ApiCall call;
  return missing_argument(y, "yposn") ? 0.0f : yposn(*y);
} catch (...) {
  api_failure();
  return 0.0f;
}
int nxposn_(const float* x) try {
  const ApiCall call;
  return missing_argument(x, "nxposn") ? 0 : nxposn(*x);
} catch (...) {
  api_failure();
  return 0;
}
int nyposn_(const float* y) try {
  const ApiCall call;
  return missing_argument(y, "nyposn") ? 0 : nyposn(*y);
} catch (...) {
  api_failure();
  return 0;
}

void trfrel_(float* xs, float* ys, const int* n) try {
  const ApiCall call;
  if (!missing_argument(n, "trfrel")) trfrel(xs, ys, *n);
} catch (...) {
  api_failure();
}

void marker_(const int* nsym) try {
  const ApiCall call;
  if (!missing_argument(nsym, "marker")) marker(*nsym);
} catch (...) {
  api_failure();
}

void hsymbl_(const int* nsize) try {
  const ApiCall call;
  if (!missing_argument(nsize, "hsymbl")) hsymbl(*nsize);
} catch (...) {
  api_failure();
}

void incmrk_(const int* nmode) try {
  const ApiCall call;
  if (!missing_argument(nmode, "incmrk")) incmrk(*nmode);
} catch (...) {
  api_failure();
}

void symbol_(const int* nsym, const int* nx, const int* ny) try {
  const ApiCall call;
  for (const int* v : {nsym, nx, ny})
    if (missing_argument(v, "symbol")) return;
  symbol(*nsym, *nx, *ny);
} catch (...) {
  api_failure();
}

void rlsymb_(const int* nsym, const float* x, const float* y) try {
  const ApiCall call;
  if (missing_argument(nsym, "rlsymb") || missing_argument(x, "rlsymb") ||
      missing_argument(y, "rlsymb"))
    return;
  rlsymb(*nsym, *x, *y);
} catch (...) {
  api_failure();
}

void errbar_(const float* x, const float* y, const float* e1, const float* e2, const int* n) try {
  const ApiCall call;
  if (!missing_argument(n, "errbar")) errbar(x, y, e1, e2, *n);
} catch (...) {
  api_failure();
}

void errhor_(const float* x, const float* y, const float* e1, const float* e2, const int* n) try {
  const ApiCall call;
  if (!missing_argument(n, "errhor")) errhor(x, y, e1, e2, *n);
} catch (...) {
  api_failure();
}

void errcap_(const int* nwidth) try {
  const ApiCall call;
  if (!missing_argument(nwidth, "errcap")) errcap(*nwidth);
} catch (...) {
  api_failure();
}

void legini_(const int* nlin) try {
  const ApiCall call;
  if (!missing_argument(nlin, "legini")) legini(*nlin);
} catch (...) {
  api_failure();
}

void leglin_(const char* text, const int* ilin, stylus_len len) try {
  const ApiCall call;
  if (!missing_argument(ilin, "leglin")) leglin(Text<kTextMax>(text, len).buf, *ilin);
} catch (...) {
  api_failure();
}

void legend_(const char* cpos, stylus_len len) try {
  const ApiCall call;
  legend(Keyword(cpos, len).buf);
} catch (...) {
  api_failure();
}

void legpag_(const int* nx, const int* ny) try {
  const ApiCall call;
  if (!missing_argument(nx, "legpag") && !missing_argument(ny, "legpag")) legpag(*nx, *ny);
} catch (...) {
  api_failure();
}

}  // extern "C"
