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

#ifdef __cplusplus
}
#endif

#endif /* STYLUS_H */
