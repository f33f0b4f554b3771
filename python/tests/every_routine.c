/* Every public routine of the library at least once, in two sessions (PNG and PostScript),
   as a C program makes the calls; python/tests/every_routine.py makes the same calls from
   Python, and test_same_files.py holds the files of the two against each other. What the
   routines return and what the warning handler hears goes to values.txt. */
#include <stdio.h>
#include <string.h>

#include "stylus.h"

static FILE* values;

static int handler(int number, const char* routine, const char* line) {
  fprintf(values, "warning %d %s [%s]\n", number, routine, line);
  return 0;
}

/* Points whose single-precision values both sides compute alike: exact operations only. */
static void points(float* x, float* y, int n) {
  for (int i = 0; i < n; ++i) {
    x[i] = (float)i / 64.0f;
    y[i] = -32.0f + (float)((i * 37) % 97) / 10.0f;
  }
}

static void draw(const char* device, const char* file) {
  float x[200], y[200];
  float xs[3] = {0.0f, 1.5f, 3.0f}, ys[3] = {-32.5f, -28.0f, -23.0f};
  int pattern[4] = {10, 5, 2, 5};
  points(x, y, 200);

  setpag("DA4L");
  metafl(device);
  setfil(file);
  disini();
  fprintf(values, "file at start [%s]\n", getfil());
  msgmod("OFF");
  color("PINK");
  msgmod("ON");
  resall();
  setvlt("SPEC");
  setclr(30);
  color("RED");
  color("PINK");
  linwid(3);
  lintyp(2);
  myline(pattern, 4);
  lnmlt(2.5f);
  solid();
  dash();
  dashm();
  dashl();
  dotl();
  chndot();
  chndsh();
  solid();
  height(40);
  angle(15);
  messag("Hello", 100, 100);
  angle(0);
  messag("Off the page", 2900, 50);
  fprintf(values, "nlmess %d\n", nlmess("Hello"));
  disalf();
  hname(45);
  labdig(2, "X");
  labdig(-1, "Y");
  name("Separation (A)", "X");
  name("Energy (eV)", "Y");
  graf(0.0f, 3.0f, 0.0f, 0.5f, -32.5f, -23.0f, -32.5f, 1.0f);
  fprintf(values, "xposn %.9g yposn %.9g nxposn %d nyposn %d\n", xposn(1.5f), yposn(-30.0f),
          nxposn(1.5f), nyposn(-30.0f));
  trfrel(xs, ys, 3);
  fprintf(values, "trfrel %.9g %.9g %.9g / %.9g %.9g %.9g\n", xs[0], xs[1], xs[2], ys[0], ys[1],
          ys[2]);
  const float ex[3] = {0.5f, 1.0f, 1.5f}, ey[3] = {-30.0f, -29.0f, -28.0f};
  const float lo[3] = {0.2f, 0.3f, 0.4f}, hi[3] = {0.4f, 0.3f, 0.2f};
  symbol(14, 300, 300);
  rlsymb(2, 1.0f, -26.0f);
  errcap(12);
  errbar(ex, ey, lo, hi, 3);
  errhor(ex, ey, lo, hi, 3);
  legini(1);
  marker(3);
  hsymbl(30);
  incmrk(25);
  setclr(200);
  curve(x, y, 200);
  leglin("the curve", 1);
  legend("UR");
  legpag(400, 400);
  rimage("every.img");
  rtiff("every.tif");
  rpng("every_r.png");
  fprintf(values, "nwarns %d date %d time %d\n", nwarns(), (int)strlen(dddate()),
          (int)strlen(ddtime()));
  disfin();
  fprintf(values, "file written [%s]\n", getfil());
}

int main(void) {
  values = fopen("values.txt", "w");
  if (values == NULL) return 1;
  fprintf(values, "version %.1f patch %d\n", getver(), getplv());
  setwrn(handler);
  winini();
  draw("PNG", "every.png");
  draw("POST", "every.psc");
  setwrn(NULL);
  fclose(values);
  return 0;
}
