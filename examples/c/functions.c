/* functions: sin x and a damped cosine in one axis system, with axis titles, the two curves
   in different colours and line styles, and a note placed with messag. The device keyword
   is the first argument ("PNG" when none is given; "CONS" shows the plot on the screen).
   Build against an installed library with
     cc functions.c $(pkg-config --cflags --libs stylus) -lm -o functions */
#include <math.h>
#include <stdio.h>
#include <stylus.h>

#define N 181

int main(int argc, char** argv) {
  float x[N], sine[N], damped[N];
  for (int i = 0; i < N; ++i) {
    x[i] = 6.5f * (float)i / (N - 1);
    sine[i] = sinf(x[i]);
    damped[i] = expf(-x[i] / 3.0f) * cosf(2.0f * x[i]);
  }

  metafl(argc > 1 ? argv[1] : "PNG");
  disini();
  name("x", "X");
  name("f(x)", "Y");
  labdig(1, "XY");
  graf(0.0f, 6.5f, 0.0f, 1.0f, -1.0f, 1.0f, -1.0f, 0.5f);

  linwid(3);
  color("RED");
  curve(x, sine, N);
  color("GREEN");
  dashl();
  curve(x, damped, N);

  solid();
  color("FORE");
  height(40);
  messag("sin x (solid) and exp(-x/3) cos 2x (long dashes)", 500, 260);
  disfin();

  /* The warnings of the session just ended: none when every call was right. */
  return nwarns() == 0 ? 0 : 1;
}
