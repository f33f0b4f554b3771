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

#ifdef __cplusplus
}
#endif

#endif /* STYLUS_H */
