// qh2 --method vmc|dmc: the runs the options ask for, their table on standard output, the CSV
// file and the picture.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "sim/dmc/blocking.h"
#include "sim/dmc/run.h"
#include "sim/program/arguments.h"

// The table's line of one run, and of the extrapolation of a separation's runs at several time
// steps to a zero time step (from `runs` time steps).
std::string result_line(const qh2::dmc::Result& r);
std::string extrapolation_line(double separation, const qh2::dmc::Extrapolation& x, int runs);
// The table's heading for the options.
std::string result_heading(const QmcOptions& o);

// The CSV text of the results (and extrapolations), with its header line.
struct CsvRow {
  double separation, energy, error, time_step;
  int walkers;
  double acceptance;  // negative: none (an extrapolation)
  double cpu_seconds;
};
std::string csv_text(const std::vector<CsvRow>& rows);

// Runs everything; the exit status (0, or 1 when a run or the results file failed).
int run_qmc(const QmcOptions& o, std::ostream& out);
