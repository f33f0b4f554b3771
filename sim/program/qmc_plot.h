// The picture of a variational or diffusion run: its energies as symbols with error bars, the
// exact Born-Oppenheimer energies as a second symbol, and the textbook run's curve for
// contrast, with a legend, on any device of the library.
#pragma once

#include <string>
#include <vector>

#include "sim/common/scan_result.h"

struct EnergyPoint {
  double separation;  // A
  double energy;      // eV
  double error;       // eV, 0 for none
};

struct QmcPicture {
  std::string method;  // "VMC" or "DMC", for the legend
  std::vector<EnergyPoint> run;
  std::vector<EnergyPoint> exact;
  ScanPoints textbook;
};

// The axis range of the picture: x from 0 to x_max, y from y_min to y_max with labels every
// y_step, chosen so that every run point with its error bar and every exact point inside the
// separations shown fits, the lowest energy near the bottom, and at most ten units tall (points
// far above, at the smallest separations, are left out of the picture).
struct PictureAxes {
  float x_max, x_step, y_min, y_max, y_step;
};
PictureAxes picture_axes(const QmcPicture& p);

// Draws the picture on the device (a keyword of metafl; "CONS" waits for the right mouse button
// on the screen).
void plot_qmc_picture(const QmcPicture& p, const std::string& device);
