/* data_points: measured counts of a decaying source as symbols with error bars (counts up
   and down, the width of the time bins across), two model curves, one with symbols of its
   own, and a legend that tells them apart. The device keyword is the first argument ("PNG"
   when none is given; "CONS" shows the plot on the screen). Build against an installed
   library with
     cc data_points.c $(pkg-config --cflags --libs stylus) -lm -o data_points */
#include <math.h>
#include <stdio.h>
#include <stylus.h>

#define NDATA 10
#define NMODEL 101

int main(int argc, char** argv) {
  /* The measurement: counts in bins of half a second, with their lower and upper
     uncertainties. */
  float t[NDATA] = {0.5f, 1.5f, 2.5f, 3.5f, 4.5f, 5.5f, 6.5f, 7.5f, 8.5f, 9.5f};
  float counts[NDATA] = {91.0f, 66.0f, 57.0f, 39.0f, 34.0f, 23.0f, 21.0f, 14.0f, 13.0f, 11.0f};
  float down[NDATA] = {9.0f, 8.0f, 7.5f, 6.0f, 6.0f, 5.0f, 4.5f, 3.5f, 3.5f, 3.0f};
  float up[NDATA] = {10.0f, 8.5f, 8.0f, 7.0f, 6.5f, 5.5f, 5.0f, 4.5f, 4.0f, 3.5f};
  float half_bin[NDATA];
  float tm[NMODEL], decay[NMODEL], hyperbolic[NMODEL];
  for (int i = 0; i < NDATA; ++i) half_bin[i] = 0.25f;
  for (int i = 0; i < NMODEL; ++i) {
    tm[i] = 0.1f * (float)i;
    decay[i] = 100.0f * expf(-tm[i] / 4.0f);
    hyperbolic[i] = 100.0f / ((1.0f + 0.3f * tm[i]) * (1.0f + 0.3f * tm[i]));
  }

  metafl(argc > 1 ? argv[1] : "PNG");
  disini();
  setvlt("RAIN"); /* the rainbow on every device (POST starts in grey) */
  name("time (s)", "X");
  name("counts", "Y");
  labdig(-1, "XY");
  graf(0.0f, 10.0f, 0.0f, 2.0f, 0.0f, 120.0f, 0.0f, 20.0f);
  linwid(2);

  legini(3); /* every curve from here on is a line of the legend */

  /* The points: filled circles without a line, error bars in the same colour. */
  color("BLUE");
  marker(14);
  hsymbl(30);
  incmrk(-1);
  curve(t, counts, NDATA);
  errcap(24);
  errbar(t, counts, down, up, NDATA);
  errcap(0);
  errhor(t, counts, half_bin, half_bin, NDATA);

  /* The models: a solid line, and a dashed one with an open square on every 20th point. */
  color("RED");
  incmrk(0);
  curve(tm, decay, NMODEL);
  color("GREEN");
  dash();
  marker(1);
  incmrk(20);
  curve(tm, hyperbolic, NMODEL);

  solid();
  color("FORE");
  leglin("measured", 1);
  leglin("exponential", 2);
  leglin("hyperbolic", 3);
  legend("UR");
  disfin();

  /* The warnings of the session just ended: none when every call was right. */
  return nwarns() == 0 ? 0 : 1;
}
