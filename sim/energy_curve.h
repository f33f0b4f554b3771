// The picture qh2 draws after its scan: the energy curve on the screen through STYLUS,
// with the thirteen calls of the by-reference entry points.
#pragma once

#include "sim/driver.h"

// Draws the scan's points and returns once the window is closed by the right button
// (at once when there is no display); the library prints its end protocol.
void plot_energy_curve(ScanPoints& scan);
