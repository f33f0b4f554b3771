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

#ifdef __cplusplus
}
#endif

#endif /* STYLUS_H */
