// TEMPORARY: declarations of routines from branches not yet merged.
#pragma once
extern "C" void height(int);
extern "C" int nlmess(const char* text);
extern "C" void lintyp(int);
namespace stylus {
void dtext(const char* text, int x, int y, int deg, int h);
void sclpax(int mode);
void inityp();
}
