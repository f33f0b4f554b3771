// TEMPORARY: declarations of routines from branches not yet merged.
#pragma once
extern "C" void setclr(int);
extern "C" void height(int);
namespace stylus {
int nlmess(const char* text);
void dtext(const char* text, int x, int y, int deg, int h);
int qqwrcp(char* dst, const char* src, int max, int len);
void sclpax(int mode);
void inityp();
extern "C" void lintyp(int);
struct ClipRecordTmp {
  int line_style;
};
extern ClipRecordTmp g_clip;
}  // namespace stylus
