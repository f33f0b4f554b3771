// The thirteen plotting calls of qh2, through the by-reference entry points as a Fortran
// caller makes them: every argument by reference, every text with its length.
#include "sim/program/energy_plot.h"

#include <cstring>

#include "stylus.h"

void plot_energy_curve(const ScanPoints& scan, const char* device) {
  const int text_height = 50, title_height = 50, decimals = 2, pen_width = 4;
  const float xa = 0.0f, xe = 3.0f, xor_ = 0.0f, xstp = 0.5f;
  const float ya = -32.5f, ye = -23.0f, yor = -32.5f, ystp = 1.0f;

  metafl_(device, static_cast<stylus_len>(std::strlen(device)));
  disini_();
  height_(&text_height);
  hname_(&title_height);
  labdig_(&decimals, "X", 1L);
  labdig_(&decimals, "Y", 1L);
  name_("Separation (A)", "X", 14L, 1L);
  name_("Energy (eV)", "Y", 11L, 1L);
  graf_(&xa, &xe, &xor_, &xstp, &ya, &ye, &yor, &ystp);
  linwid_(&pen_width);
  color_("red", 3L);
  curve_(scan.xsep.data(), scan.yene.data(), &scan.npts);
  // On the screen this returns once the window has been closed by the right button; the
  // close button ends the process inside it.
  disfin_();
}
