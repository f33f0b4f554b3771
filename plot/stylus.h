/* STYLUS: a device-independent plotting library.
   The public C interface; usable from C and C++. The entry points whose names end in an
   underscore take every argument by reference, with the lengths of text arguments passed
   last, so that Fortran programs can call them. */
#ifndef STYLUS_H
#define STYLUS_H

#ifdef __cplusplus
extern "C" {
#endif

/* Hidden length of a text argument of the by-reference entry points: a long (f2c's ftnlen;
   on LP64 systems it has the width of gfortran's size_t lengths). Texts need no zero end. */
typedef long stylus_len;

/* Library version and patch level. */
float getver(void);
int getplv(void);

/* Device and page, before a session (level 0). */
void metafl(const char* cfmt);
void setpag(const char* cpag);
void winini(void);

/* Session start and end; reset of every plot parameter (called by disini). */
void disini(void);
void disfin(void);
void resall(void);

/* Colours and line width (inside a session). */
void color(const char* cname);
void setclr(int ncol);
void setvlt(const char* ctab);
void linwid(int nwidth);

/* Current local date "dd.mm.yyyy" and time "hh:mm:ss", in buffers the next call reuses. */
const char* dddate(void);
const char* ddtime(void);

/* By-reference entry points. */
float getver_(void);
int getplv_(void);
void metafl_(const char* cfmt, stylus_len len_cfmt);
void setpag_(const char* cpag, stylus_len len_cpag);
void winini_(void);
void disini_(void);
void disfin_(void);
void resall_(void);
void color_(const char* cname, stylus_len len_cname);
void setclr_(const int* ncol);
void setvlt_(const char* ctab, stylus_len len_ctab);
void linwid_(const int* nwidth);

/* Line styles and thick lines. lintyp selects style 0 (solid) to 7; the named routines
   select one style each; myline installs a pattern of n (1 to 10) element lengths in
   points, alternately drawn and skipped; lnmlt sets the miter limit of thick lines. */
void lintyp(int type);
void myline(const int* pattern, int n);
void solid(void);
void dash(void);
void dashm(void);
void dashl(void);
void dotl(void);
void chndot(void);
void chndsh(void);
void lnmlt(float factor);

/* Stroke-font text (inside a session): character height in points, text angle in degrees
   counter-clockwise, a text drawn with the upper-left corner of its first character at
   (nx, ny) (999, 999: where the previous text ended), the width of a text in points, and
   the default font. */
void height(int nheight);
void angle(int nangle);
void messag(const char* text, int nx, int ny);
int nlmess(const char* text);
void disalf(void);

/* By-reference entry points of the text routines. */
void height_(const int* nheight);
void angle_(const int* nangle);
void messag_(const char* text, const int* nx, const int* ny, stylus_len len_text);
int nlmess_(const char* text, stylus_len len_text);
void disalf_(void);

/* ---- Axis systems, labels, titles and curves ---------------------------------------- */

/* Axis system: x from xa to xe with the first label at xor and a label step xstp;
   likewise for y from the bottom to the top end. */
void graf(float xa, float xe, float xor_, float xstp, float ya, float ye, float yor, float ystp);
/* Page position of a user value, as a real and rounded to a point. */
float xposn(float x);
float yposn(float y);
int nxposn(float x);
int nyposn(float y);
/* Converts n points from user to page coordinates in place. */
void trfrel(float* xs, float* ys, int n);
/* Decimals of the numeric labels (-1 integer labels) of the axes named in axes. */
void labdig(int n, const char* axes);
/* Title of the axes named in axes ("X", "Y", "Z", "XY", ...) and the title height. */
void name(const char* text, const char* axes);
void hname(int n);
/* Connects n points given in user coordinates in the current axis system. */
void curve(const float* x, const float* y, int n);

/* By-reference entries; the lengths of text arguments come last. */
void graf_(const float* xa, const float* xe, const float* xor_, const float* xstp, const float* ya,
           const float* ye, const float* yor, const float* ystp);
void labdig_(const int* n, const char* axes, stylus_len axes_len);
void name_(const char* text, const char* axes, stylus_len text_len, stylus_len axes_len);
void hname_(const int* n);
void curve_(const float* x, const float* y, const int* n);

#ifdef __cplusplus
}
#endif

#endif /* STYLUS_H */
