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

#ifdef __cplusplus
}
#endif

#endif /* STYLUS_H */
