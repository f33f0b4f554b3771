/* STYLUS: a device-independent plotting library.
   The public C interface; usable from C and C++. The entry points whose names end in an
   underscore take every argument by reference, with the lengths of text arguments passed
   last, so that Fortran programs can call them. */
#ifndef STYLUS_H
#define STYLUS_H

#ifdef __cplusplus
extern "C" {
#endif

/* Library version and patch level. */
float getver(void);
int getplv(void);

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
void labdig_(const int* n, const char* axes, int axes_len);
void name_(const char* text, const char* axes, int text_len, int axes_len);
void hname_(const int* n);
void curve_(const float* x, const float* y, const int* n);

#ifdef __cplusplus
}
#endif

#endif /* STYLUS_H */
