// qh2's picture: the energy curve of a scan drawn by the program's own sequence of plotting
// calls, on any device. qh2 draws it on the screen; sim/program/energy_curve.cpp on the device
// named on its command line (the tests read the files back, the README's picture comes from it).
#pragma once

#include "sim/common/scan_result.h"

// Chooses the device (a keyword of metafl, "cons" for the screen), draws the axis system and
// the curve of the scan, and ends the session (on the screen: once the window is closed).
void plot_energy_curve(const ScanPoints& scan, const char* device);
