/* STYLUS: a device-independent plotting library.
   The public C interface; usable from C and C++. Every routine has an entry point of the
   same name with an underscore added that takes every argument by reference, with the
   lengths of text arguments passed last, so that Fortran programs can call it (the module
   stylus.f90 declares them for Fortran 90 programs). */
#ifndef STYLUS_H
#define STYLUS_H

/* Marks the routines the shared library exports; nothing else is visible outside it. */
#if defined(__GNUC__)
#define STYLUS_API __attribute__((visibility("default")))
#else
#define STYLUS_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Hidden length of a text argument of the by-reference entry points: a long (f2c's ftnlen;
   on LP64 systems it has the width of gfortran's size_t lengths). Texts need no zero end. */
typedef long stylus_len;

/* Library version and patch level. */
STYLUS_API float getver(void);
STYLUS_API int getplv(void);

/* Device and page, before a session (level 0). */
STYLUS_API void metafl(const char* cfmt);
STYLUS_API void setpag(const char* cpag);
STYLUS_API void winini(void);

/* Session start and end; reset of every plot parameter (called by disini). */
STYLUS_API void disini(void);
STYLUS_API void disfin(void);
STYLUS_API void resall(void);

/* Colours and line width (inside a session). */
STYLUS_API void color(const char* cname);
STYLUS_API void setclr(int ncol);
STYLUS_API void setvlt(const char* ctab);
STYLUS_API void linwid(int nwidth);

/* Current local date "dd.mm.yyyy" and time "hh:mm:ss", in buffers the next call reuses. */
STYLUS_API const char* dddate(void);
STYLUS_API const char* ddtime(void);

/* Messages, at any level: msgmod("OFF") silences the warning lines, the points that curve
   reports out of the axis scaling and the end protocol until msgmod("ON"); the choice holds
   across sessions. Warnings are counted all the same: nwarns is the number of warnings of
   the session that is open, or of the last one after disfin. */
STYLUS_API void msgmod(const char* cmode);
STYLUS_API int nwarns(void);

/* By-reference entry points. */
STYLUS_API float getver_(void);
STYLUS_API int getplv_(void);
STYLUS_API void metafl_(const char* cfmt, stylus_len len_cfmt);
STYLUS_API void setpag_(const char* cpag, stylus_len len_cpag);
STYLUS_API void winini_(void);
STYLUS_API void disini_(void);
STYLUS_API void disfin_(void);
STYLUS_API void resall_(void);
STYLUS_API void color_(const char* cname, stylus_len len_cname);
STYLUS_API void setclr_(const int* ncol);
STYLUS_API void setvlt_(const char* ctab, stylus_len len_ctab);
STYLUS_API void linwid_(const int* nwidth);
/* The date and the time copied into the caller's text, blank-padded to its length (from
   Fortran: a CHARACTER*10 and a CHARACTER*8 function). */
STYLUS_API void dddate_(char* cdate, stylus_len len_cdate);
STYLUS_API void ddtime_(char* ctime, stylus_len len_ctime);
STYLUS_API void msgmod_(const char* cmode, stylus_len len_cmode);
STYLUS_API int nwarns_(void);

/* Line styles and thick lines. lintyp selects style 0 (solid) to 7; the named routines
   select one style each; myline installs a pattern of n (1 to 10) element lengths in
   points, alternately drawn and skipped; lnmlt sets the miter limit of thick lines. */
STYLUS_API void lintyp(int type);
STYLUS_API void myline(const int* pattern, int n);
STYLUS_API void solid(void);
STYLUS_API void dash(void);
STYLUS_API void dashm(void);
STYLUS_API void dashl(void);
STYLUS_API void dotl(void);
STYLUS_API void chndot(void);
STYLUS_API void chndsh(void);
STYLUS_API void lnmlt(float factor);

/* By-reference entry points of the line styles. */
STYLUS_API void lintyp_(const int* type);
STYLUS_API void myline_(const int* pattern, const int* n);
STYLUS_API void solid_(void);
STYLUS_API void dash_(void);
STYLUS_API void dashm_(void);
STYLUS_API void dashl_(void);
STYLUS_API void dotl_(void);
STYLUS_API void chndot_(void);
STYLUS_API void chndsh_(void);
STYLUS_API void lnmlt_(const float* factor);

/* Stroke-font text (inside a session): character height in points, text angle in degrees
   counter-clockwise, a text drawn with the upper-left corner of its first character at
   (nx, ny) (999, 999: where the previous text ended), the width of a text in points, and
   the default font. */
STYLUS_API void height(int nheight);
STYLUS_API void angle(int nangle);
STYLUS_API void messag(const char* text, int nx, int ny);
STYLUS_API int nlmess(const char* text);
STYLUS_API void disalf(void);

/* By-reference entry points of the text routines. */
STYLUS_API void height_(const int* nheight);
STYLUS_API void angle_(const int* nangle);
STYLUS_API void messag_(const char* text, const int* nx, const int* ny, stylus_len len_text);
STYLUS_API int nlmess_(const char* text, stylus_len len_text);
STYLUS_API void disalf_(void);

/* ---- Axis systems, labels, titles and curves ---------------------------------------- */

/* Axis system: x from xa to xe with the first label at xor and a label step xstp;
   likewise for y from the bottom to the top end. */
STYLUS_API void graf(float xa, float xe, float xor_, float xstp, float ya, float ye, float yor,
                     float ystp);
/* Page position of a user value, as a real and rounded to a point. */
STYLUS_API float xposn(float x);
STYLUS_API float yposn(float y);
STYLUS_API int nxposn(float x);
STYLUS_API int nyposn(float y);
/* Converts n points from user to page coordinates in place. */
STYLUS_API void trfrel(float* xs, float* ys, int n);
/* Decimals of the numeric labels (-1 integer labels) of the axes named in axes. */
STYLUS_API void labdig(int n, const char* axes);
/* Title of the axes named in axes ("X", "Y", "Z", "XY", ...) and the title height. */
STYLUS_API void name(const char* text, const char* axes);
STYLUS_API void hname(int n);
/* Connects n points given in user coordinates in the current axis system. */
STYLUS_API void curve(const float* x, const float* y, int n);

/* By-reference entries; the lengths of text arguments come last. */
STYLUS_API void graf_(const float* xa, const float* xe, const float* xor_, const float* xstp,
                      const float* ya, const float* ye, const float* yor, const float* ystp);
STYLUS_API void labdig_(const int* n, const char* axes, stylus_len axes_len);
STYLUS_API void name_(const char* text, const char* axes, stylus_len text_len, stylus_len axes_len);
STYLUS_API void hname_(const int* n);
STYLUS_API void curve_(const float* x, const float* y, const int* n);
STYLUS_API float xposn_(const float* x);
STYLUS_API float yposn_(const float* y);
STYLUS_API int nxposn_(const float* x);
STYLUS_API int nyposn_(const float* y);
STYLUS_API void trfrel_(float* xs, float* ys, const int* n);

/* ---- Plot symbols, error bars and legends ------------------------------------------- */

/* Plot symbols 0 to 20 (circle, square, triangle, plus, cross, diamond, ..., dot, the filled
   shapes): the symbol of the next curves, its size in points, and how curve uses it (0
   lines only; n > 0 lines and a symbol on every n-th point; n < 0 symbols only, on every
   -n-th point). symbol draws one at a page point, rlsymb one at a user point of the axis
   system. */
STYLUS_API void marker(int nsym);
STYLUS_API void hsymbl(int nsize);
STYLUS_API void incmrk(int nmode);
STYLUS_API void symbol(int nsym, int nx, int ny);
STYLUS_API void rlsymb(int nsym, float x, float y);

/* Error bars through n points (x[i], y[i]) of the axis system, from the value less the
   lower deviation e1[i] to the value plus the upper one e2[i] (the same array twice for
   symmetric bars): vertical bars for deviations in y, horizontal ones for deviations in x;
   the width of the caps across their ends in points (0 none). */
STYLUS_API void errbar(const float* x, const float* y, const float* e1, const float* e2, int n);
STYLUS_API void errhor(const float* x, const float* y, const float* e1, const float* e2, int n);
STYLUS_API void errcap(int nwidth);

/* Legends: legini starts a legend of up to nlin lines (1 to 30), and each curve drawn after
   it becomes a line of it, showing the curve's colour, line style and symbol; leglin sets
   the text of line ilin; legend draws the framed box inside a corner of the axis system
   ("UR", "UL", "LL", "LR": upper right, upper left, lower left, lower right), legpag with
   its upper-left corner at the page point (nx, ny). Texts have the current height. */
STYLUS_API void legini(int nlin);
STYLUS_API void leglin(const char* text, int ilin);
STYLUS_API void legend(const char* cpos);
STYLUS_API void legpag(int nx, int ny);

/* By-reference entries. */
STYLUS_API void marker_(const int* nsym);
STYLUS_API void hsymbl_(const int* nsize);
STYLUS_API void incmrk_(const int* nmode);
STYLUS_API void symbol_(const int* nsym, const int* nx, const int* ny);
STYLUS_API void rlsymb_(const int* nsym, const float* x, const float* y);
STYLUS_API void errbar_(const float* x, const float* y, const float* e1, const float* e2,
                        const int* n);
STYLUS_API void errhor_(const float* x, const float* y, const float* e1, const float* e2,
                        const int* n);
STYLUS_API void errcap_(const int* nwidth);
STYLUS_API void legini_(const int* nlin);
STYLUS_API void leglin_(const char* text, const int* ilin, stylus_len len_text);
STYLUS_API void legend_(const char* cpos, stylus_len len_cpos);
STYLUS_API void legpag_(const int* nx, const int* ny);

/* ---- Image files ------------------------------------------------------------------- */

/* The picture of the session so far written as an image file under a version of name
   (a.png, a_1.png, ... when the file exists): the raw image file, an uncompressed palette
   TIFF, a palette PNG. On the raster devices and the screen windows only. */
STYLUS_API void rimage(const char* name);
STYLUS_API void rtiff(const char* name);
STYLUS_API void rpng(const char* name);

/* By-reference entries; trailing blanks of the name are dropped. */
STYLUS_API void rimage_(const char* name, stylus_len len_name);
STYLUS_API void rtiff_(const char* name, stylus_len len_name);
STYLUS_API void rpng_(const char* name, stylus_len len_name);

#ifdef __cplusplus
}
#endif

#endif /* STYLUS_H */
