// The table, the CSV file and the picture of a variational or diffusion run. Standard output
// carries only what the seed and options determine (the same bytes on any number of threads);
// times, the engine and the progress go to standard error.
#include "sim/program/qmc_run.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <exception>
#include <iostream>
#include <sstream>
#include <thread>

#include "sim/common/exact_curve.h"
#include "sim/dmc/dispatch.h"
#include "sim/dmc/scan.h"
#include "sim/program/driver.h"
#include "sim/program/new_file.h"
#include "sim/program/progress_line.h"
#include "sim/program/qmc_plot.h"

namespace dmc = qh2::dmc;

namespace {

std::string format(const char* f, auto... args) {
  char line[256];
  std::snprintf(line, sizeof line, f, args...);
  return line;
}

// The exact energy and the deviation in standard errors, where the table has the separation.
std::string exact_columns(double separation, double energy, double error) {
  const qh2::ExactPoint* p = qh2::exact_point_at(separation);
  if (!p || !(error > 0)) return "";
  return format("  %11.6f  %+8.2f", p->energy, (energy - p->energy) / error);
}

const char* method_name(dmc::Method m) {
  return m == dmc::Method::dmc ? "dmc" : "vmc";
}

}  // namespace

std::string result_heading(const QmcOptions& o) {
  const dmc::Settings& s = o.settings;
  std::string target = s.steps > 0 ? format("%ld production steps", s.steps)
                                   : format("to a standard error of %g eV", s.target_error);
  std::string beta = std::isnan(s.beta) ? "beta optimised" : format("beta %g/A", s.beta);
  return format("# qh2 %s: %d walkers, %s, %s, seed %llu\n", method_name(s.method), s.walkers,
                target.c_str(), beta.c_str(), static_cast<unsigned long long>(s.seed)) +
         "#    R (A)  tau (1/eV)      E (eV)  error (eV)   accept    beta     steps"
         "   exact (eV)  dev/error\n";
}

std::string result_line(const dmc::Result& r) {
  return format("%10.6f  %10.6f  %10.6f  %10.6f  %7.5f  %6.3f  %8ld", r.separation, r.time_step,
                r.energy, r.error, r.acceptance, r.beta, r.steps) +
         exact_columns(r.separation, r.energy, r.error) + (r.plateau ? "" : "  *") + "\n";
}

std::string extrapolation_line(double separation, const dmc::Extrapolation& x, int runs) {
  return format("%10.6f  %10s  %10.6f  %10.6f  %7s  %6s  %8s", separation, "0 (fit)", x.e0, x.error,
                "-", "-", "-") +
         exact_columns(separation, x.e0, x.error) +
         format("  (line through %d time steps, chi2/dof %.2f)\n", runs, x.chi2);
}

std::string csv_text(const std::vector<CsvRow>& rows) {
  std::string text =
      "separation_A,energy_eV,standard_error_eV,time_step_per_eV,walkers,acceptance,cpu_seconds\n";
  for (const CsvRow& r : rows) {
    text +=
        format("%.6f,%.6f,%.6f,%.6g,%d,", r.separation, r.energy, r.error, r.time_step, r.walkers);
    text += r.acceptance >= 0 ? format("%.5f", r.acceptance) : std::string();
    text += format(",%.3f\n", r.cpu_seconds);
  }
  return text;
}

int run_qmc(const QmcOptions& o, std::ostream& out) {
  if (!o.csv.empty() && name_taken(o.csv)) {
    std::fprintf(stderr, "qh2: %s exists (qh2 never writes over a file)\n", o.csv.c_str());
    return 1;
  }
  std::vector<dmc::Job> jobs;
  for (double sep : o.separations) {
    for (double tau : o.time_steps) jobs.push_back({sep, tau});
  }
  const int threads = o.threads > 0
                          ? o.threads
                          : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  const int per_separation = static_cast<int>(o.time_steps.size());
  const int used = dmc::threads_used(o.settings, static_cast<int>(jobs.size()), threads);
  if (!o.quiet) {
    std::fprintf(
        stderr, "qh2: %s at %zu separation%s x %d time step%s on %d thread%s, %s kernels\n",
        method_name(o.settings.method), o.separations.size(), o.separations.size() == 1 ? "" : "s",
        per_separation, per_separation == 1 ? "" : "s", used, used == 1 ? "" : "s",
        qh2::vector_isa_name(dmc::kernels().isa));
  }
  out << result_heading(o) << std::flush;

  dmc::ScanProgress progress(static_cast<int>(jobs.size()));
  ProgressLine line(
      progress, [&](int j) { return format("R = %.6f A", jobs[j].separation); },
      static_cast<int>(jobs.size()), !o.quiet && isatty(STDERR_FILENO));

  std::vector<CsvRow> rows;
  std::vector<EnergyPoint> best;  // per separation: the run, or the extrapolation
  bool any_without_plateau = false;
  std::vector<dmc::Result> group;
  auto emit = [&](int j, const dmc::Result& r) {
    line.clear();
    out << result_line(r);
    rows.push_back(
        {r.separation, r.energy, r.error, r.time_step, r.walkers, r.acceptance, r.cpu_seconds});
    any_without_plateau = any_without_plateau || !r.plateau;
    group.push_back(r);
    if (j % per_separation != per_separation - 1) return;
    if (per_separation == 1) {
      best.push_back({r.separation, r.energy, r.error});
    } else {
      std::vector<double> tau, e, err;
      double cpu = 0;
      for (const dmc::Result& g : group) {
        tau.push_back(g.time_step);
        e.push_back(g.energy);
        err.push_back(g.error);
        cpu += g.cpu_seconds;
      }
      const dmc::Extrapolation x = dmc::extrapolate_to_zero(tau, e, err);
      out << extrapolation_line(r.separation, x, per_separation);
      rows.push_back({r.separation, x.e0, x.error, 0.0, r.walkers, -1.0, cpu});
      best.push_back({r.separation, x.e0, x.error});
    }
    group.clear();
    out << std::flush;
  };
  try {
    dmc::run_jobs(o.settings, jobs, threads, progress, emit);
  } catch (const std::exception& e) {
    line.stop();
    std::fprintf(stderr, "qh2: %s\n", e.what());
    return 1;
  }
  line.stop();
  if (any_without_plateau) {
    out << "# * no uncorrelated blocks were found: that error may be too small; run longer\n";
  }
  out << std::flush;

  if (!o.csv.empty()) {
    const std::string error = write_new_file(o.csv, csv_text(rows));
    if (!error.empty()) {
      std::fprintf(stderr, "qh2: %s\n", error.c_str());
      return 1;
    }
  }
  if (o.picture) {
    QmcPicture p;
    p.method = o.settings.method == dmc::Method::dmc ? "DMC" : "VMC";
    p.run = best;
    for (const qh2::ExactPoint& e : qh2::exact_curve())
      p.exact.push_back({e.separation, e.energy, 0});
    // The textbook run's 59 points, for contrast; its result lines are not printed again.
    std::ostringstream ignored;
    p.textbook = qh2_scan(ignored);
    plot_qmc_picture(p, o.device);
  }
  return 0;
}
