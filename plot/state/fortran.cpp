// By-reference entry points: numbers arrive by address and texts as (address, hidden length)
// pairs without a zero end; keywords are cut to four characters before the library sees them.
#include "state/strings.h"
#include "stylus.h"

namespace {
constexpr int kKeywordMax = 4;
}

using stylus::qqwrcp;

extern "C" {

float getver_(void) {
  return getver();
}
int getplv_(void) {
  return getplv();
}

void metafl_(const char* cfmt, stylus_len len_cfmt) {
  char buf[kKeywordMax + 1];
  qqwrcp(buf, cfmt, kKeywordMax, len_cfmt);
  metafl(buf);
}

void setpag_(const char* cpag, stylus_len len_cpag) {
  char buf[kKeywordMax + 1];
  qqwrcp(buf, cpag, kKeywordMax, len_cpag);
  setpag(buf);
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
  char buf[kKeywordMax + 1];
  qqwrcp(buf, cname, kKeywordMax, len_cname);
  color(buf);
}

void setclr_(const int* ncol) {
  setclr(*ncol);
}

void setvlt_(const char* ctab, stylus_len len_ctab) {
  char buf[kKeywordMax + 1];
  qqwrcp(buf, ctab, kKeywordMax, len_ctab);
  setvlt(buf);
}

void linwid_(const int* nwidth) {
  linwid(*nwidth);
}

}  // extern "C"
