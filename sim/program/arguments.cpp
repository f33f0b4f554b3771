// The usage text and the parsing of qh2's command line. Values are read strictly: the whole
// word must be the number, and a number out of its range is an error, never clamped.
#include "sim/program/arguments.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include "devices/device_table.h"
#include "sim/common/exact_curve.h"

const char* const kUsage =
    "Usage: qh2 [--help | --version]\n"
    "       qh2 --method vmc|dmc [options]\n"
    "\n"
    "Without options, computes the ground-state energy of the hydrogen molecule by the\n"
    "textbook quantum Monte Carlo run at 59 separations of the nuclei (0.1 to 3.0 A), prints\n"
    "one result line per separation, then draws the energy curve with the STYLUS library in a\n"
    "screen window and waits until the right mouse button is released over it (without a\n"
    "display the picture is kept as stylus.png). Nothing is read; every run prints the same.\n"
    "\n"
    "  --help     print this text and exit\n"
    "  --version  print the version and exit\n"
    "\n"
    "With --method, computes the energy with an error bar at each separation asked for, with\n"
    "qh2's trial wave function, prints a table (and writes it as CSV), and draws the energies\n"
    "with their error bars against the exact curve and the textbook run:\n"
    "\n"
    "  --method M          vmc: variational Monte Carlo of the trial function;\n"
    "                      dmc: diffusion Monte Carlo, exact up to time step and statistics\n"
    "  --separations LIST  separations in A: numbers, ranges FROM:TO:STEP and 'exact' (the nine\n"
    "                      of the exact curve), separated by commas (default 0.1:3:0.05, the\n"
    "                      59 of the textbook run)\n"
    "  --walkers N         walkers; in dmc the target population (default 2000)\n"
    "  --time-step T       time step in 1/eV; several, separated by commas, run each separation\n"
    "                      at each and extrapolate to zero (default vmc 0.011; dmc 0.0004, or\n"
    "                      0.04 times a target error below 0.01 eV)\n"
    "  --steps N           production steps per separation (default: until --target-error)\n"
    "  --target-error E    standard error in eV to run each separation to (default 0.01)\n"
    "  --equilibration N   dmc steps before production (default: 20/hartree of time)\n"
    "  --beta B            Jastrow parameter in 1/A, or 'opt' to optimise it per separation\n"
    "                      (default vmc 0.25, qh2's trial function; dmc opt)\n"
    "  --seed N            seed of the random numbers, 0 to 2^64-1 (default 1); the same seed\n"
    "                      gives the same results on any number of threads\n"
    "  --threads N         threads to compute on (default: all the processor has)\n"
    "  --csv FILE          write the results to FILE (never over an existing file)\n"
    "  --device NAME       the picture's device: any keyword of metafl, e.g. PNG, POST, SVG\n"
    "                      (default CONS, the screen)\n"
    "  --no-picture        draw no picture\n"
    "  --quiet             no progress or engine note on standard error\n";

namespace dmc = qh2::dmc;

namespace {

constexpr double kDefaultDmcTimeStep = 0.0004;
constexpr double kDefaultVmcTimeStep = 0.011;
constexpr double kTimeStepPerError = 0.04;  // 1/eV per eV of target error
constexpr double kDefaultVmcBeta = 0.25;
constexpr std::size_t kMostSeparations = 10000;

bool whole_number(std::string_view text, uint64_t& value) {
  if (text.empty() || text[0] == '+' || text[0] == '-') return false;
  const char* end = text.data() + text.size();
  const auto r = std::from_chars(text.data(), end, value);
  return r.ec == std::errc() && r.ptr == end;
}

bool real_number(std::string_view text, double& value) {
  if (text.empty() || text[0] == '+') return false;
  const char* end = text.data() + text.size();
  const auto r = std::from_chars(text.data(), end, value);
  return r.ec == std::errc() && r.ptr == end && std::isfinite(value);
}

// The device keyword as metafl compares it: its first four characters, upper-case, padded.
bool known_device(const std::string& name) {
  if (name.empty()) return false;
  char want[5] = "    ";
  for (std::size_t i = 0; i < 4 && i < name.size(); ++i) {
    want[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
  }
  if (std::strncmp(want, "MET", 3) == 0 && want[3] >= '1' && want[3] <= '9') return true;
  const char* list = stylus::device_keyword_list();
  for (int k = 0; k < stylus::device_keyword_count(); ++k) {
    if (std::strncmp(list + 5 * k, want, 4) == 0) return true;
  }
  return false;
}

// The options that take a value, and the flags.
const char* const kValued[] = {"--method", "--separations",  "--walkers",       "--time-step",
                               "--steps",  "--target-error", "--equilibration", "--beta",
                               "--seed",   "--threads",      "--csv",           "--device"};
const char* const kFlags[] = {"--no-picture", "--quiet"};

bool is_one_of(std::string_view name, const auto& list) {
  for (const char* n : list) {
    if (name == n) return true;
  }
  return false;
}

// Reads one option's value into the options; an error message when it is not valid.
std::string take(QmcOptions& o, std::string_view name, const std::string& value, bool& beta_given,
                 bool& time_step_given) {
  const std::string quoted = std::string(name) + ": '" + value + "'";
  dmc::Settings& s = o.settings;
  uint64_t n = 0;
  double x = 0;
  if (name == "--method") {
    if (value == "vmc") {
      s.method = dmc::Method::vmc;
    } else if (value == "dmc") {
      s.method = dmc::Method::dmc;
    } else {
      return quoted + " is not a method (vmc or dmc)";
    }
  } else if (name == "--separations") {
    std::string error;
    if (!parse_separations(value, o.separations, error)) return quoted + ": " + error;
  } else if (name == "--walkers") {
    if (!whole_number(value, n)) return quoted + " is not a whole number of walkers";
    if (n < 1 || n > 1000000) return quoted + ": the walkers must number 1 to 1000000";
    s.walkers = static_cast<int>(n);
  } else if (name == "--time-step") {
    o.time_steps.clear();
    std::size_t from = 0;
    for (;;) {
      const std::size_t comma = value.find(',', from);
      const std::string item = value.substr(from, comma - from);
      if (!real_number(item, x)) return quoted + ": '" + item + "' is not a number";
      if (!(x > 0 && x <= 1)) return quoted + ": a time step must lie in (0, 1] 1/eV";
      o.time_steps.push_back(x);
      if (comma == std::string::npos) break;
      from = comma + 1;
    }
    time_step_given = true;
  } else if (name == "--steps") {
    if (!whole_number(value, n)) return quoted + " is not a whole number of steps";
    if (n < 1 || n > 1000000000) return quoted + ": the steps must number 1 to 10^9";
    s.steps = static_cast<long>(n);
  } else if (name == "--target-error") {
    if (!real_number(value, x)) return quoted + " is not a number";
    if (!(x > 0)) return quoted + ": the target error must be positive (eV)";
    s.target_error = x;
  } else if (name == "--equilibration") {
    if (!whole_number(value, n)) return quoted + " is not a whole number of steps";
    if (n > 1000000000) return quoted + ": at most 10^9 steps";
    s.equilibration = static_cast<long>(n);
  } else if (name == "--beta") {
    if (value == "opt") {
      s.beta = std::numeric_limits<double>::quiet_NaN();
    } else if (!real_number(value, x)) {
      return quoted + " is not a number or 'opt'";
    } else if (!(x > 0 && x <= 100)) {
      return quoted + ": beta must lie in (0, 100] 1/A";
    } else {
      s.beta = x;
    }
    beta_given = true;
  } else if (name == "--seed") {
    if (!whole_number(value, n)) return quoted + " is not a whole number from 0 to 2^64-1";
    s.seed = n;
  } else if (name == "--threads") {
    if (!whole_number(value, n)) return quoted + " is not a whole number of threads";
    if (n < 1 || n > 1024) return quoted + ": the threads must number 1 to 1024";
    o.threads = static_cast<int>(n);
  } else if (name == "--csv") {
    if (value.empty()) return std::string(name) + " needs a file name";
    o.csv = value;
  } else if (name == "--device") {
    if (!known_device(value)) return quoted + " is not a device keyword of metafl";
    o.device = value;
  }
  return "";
}

}  // namespace

bool parse_separations(const std::string& text, std::vector<double>& out, std::string& error) {
  out.clear();
  std::size_t from = 0;
  for (;;) {
    const std::size_t comma = text.find(',', from);
    const std::string item = text.substr(from, comma - from);
    if (item == "exact") {
      for (const qh2::ExactPoint& p : qh2::exact_curve()) out.push_back(p.separation);
      if (comma == std::string::npos) break;
      from = comma + 1;
      continue;
    }
    double v[3];
    int parts = 0;
    std::size_t at = 0;
    for (; parts < 3; ++parts) {
      const std::size_t colon = item.find(':', at);
      if (!real_number(std::string_view(item).substr(at, colon - at), v[parts])) {
        error = "'" + item + "' is not a separation or a range FROM:TO:STEP";
        return false;
      }
      if (colon == std::string::npos) break;
      at = colon + 1;
    }
    if (parts == 0) {
      out.push_back(v[0]);
    } else if (parts == 2) {
      const double lo = v[0], hi = v[1], step = v[2];
      if (!(step > 0) || hi < lo) {
        error = "the range '" + item + "' is empty (it needs FROM <= TO and STEP > 0)";
        return false;
      }
      // The points lo + k step up to hi, allowing for the rounding of decimal steps.
      const double count = std::floor((hi - lo) / step + 1e-9) + 1;
      if (count > kMostSeparations) {
        error = "the range '" + item + "' has more than 10000 separations";
        return false;
      }
      // Each point rounded to 1e-9 A, so that 0.1:3:0.05 holds 0.3 and 3 as typed (and a point
      // computed alone or in a range is the same separation, with the same random numbers).
      for (int k = 0; k < static_cast<int>(count); ++k) {
        out.push_back(std::round((lo + k * step) * 1e9) / 1e9);
      }
    } else {
      error = "'" + item + "' is not a separation or a range FROM:TO:STEP";
      return false;
    }
    if (out.size() > kMostSeparations) {
      error = "more than 10000 separations";
      return false;
    }
    if (comma == std::string::npos) break;
    from = comma + 1;
  }
  for (double s : out) {
    if (!(s > 0 && s <= 100)) {
      error = "separations must lie in (0, 100] A";
      return false;
    }
  }
  return true;
}

Arguments parse_arguments(int argc, const char* const* argv) {
  Arguments args;
  if (argc <= 1) return args;
  // --help and --version stand alone: with anything else the first argument is the one
  // the user is told about.
  const std::string_view first = argv[1];
  if (argc == 2 && first == "--help") {
    args.action = Arguments::Action::help;
    return args;
  }
  if (argc == 2 && first == "--version") {
    args.action = Arguments::Action::version;
    return args;
  }
  auto fail = [&](std::string message) {
    args.action = Arguments::Action::usage_error;
    args.error = std::move(message);
    return args;
  };
  if (first == "--help" || first == "--version")
    return fail("unknown argument '" + std::string(first) + "'");

  QmcOptions& o = args.qmc;
  bool method_given = false, beta_given = false, time_step_given = false;
  std::vector<std::string> seen;
  for (int i = 1; i < argc; ++i) {
    std::string word = argv[i], value;
    const std::size_t eq = word.find('=');
    const bool inline_value = word.rfind("--", 0) == 0 && eq != std::string::npos;
    std::string name = inline_value ? word.substr(0, eq) : word;
    if (is_one_of(name, kFlags) && !inline_value) {
      if (name == "--no-picture") o.picture = false;
      if (name == "--quiet") o.quiet = true;
    } else if (is_one_of(name, kValued)) {
      if (inline_value) {
        value = word.substr(eq + 1);
      } else if (i + 1 < argc) {
        value = argv[++i];
      } else {
        return fail(name + " needs a value");
      }
      for (const std::string& s : seen) {
        if (s == name) return fail(name + " is given twice");
      }
      seen.push_back(name);
      const std::string error = take(o, name, value, beta_given, time_step_given);
      if (!error.empty()) return fail(error);
      if (name == "--method") method_given = true;
    } else {
      return fail("unknown argument '" + word + "'");
    }
  }
  if (!method_given) {
    return fail(
        "the options need --method vmc or dmc (without options qh2 makes the textbook run)");
  }
  const bool vmc = o.settings.method == dmc::Method::vmc;
  if (o.separations.empty()) parse_separations("0.1:3:0.05", o.separations, args.error);
  if (!time_step_given) {
    // The diffusion energy's time-step bias grows as about 10 eV^2 tau near equilibrium
    // (docs/qh2.md, "Time step"): a target error below 10 meV gets a smaller time step, so that
    // the bias stays below about a third of it.
    const double dmc_tau =
        o.settings.steps > 0
            ? kDefaultDmcTimeStep
            : std::min(kDefaultDmcTimeStep, kTimeStepPerError * o.settings.target_error);
    o.time_steps = {vmc ? kDefaultVmcTimeStep : dmc_tau};
  }
  if (!beta_given && vmc) o.settings.beta = kDefaultVmcBeta;
  o.settings.time_step = o.time_steps.front();
  args.action = Arguments::Action::qmc;
  return args;
}
