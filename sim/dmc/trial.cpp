// The trial function's parameters at a separation.
#include "sim/dmc/trial.h"

#include <cmath>

namespace qh2::dmc {

double decay_length(double sep) {
  // apar's iteration, a <- a0 / (1 + exp(-sep / a)) from a = 10, contracts towards the
  // solution; in double it settles on one value or alternates between two neighbours.
  double a = 10.0, previous = 0.0, before = -1.0;
  for (int i = 0; i < 200 && a != previous && a != before; ++i) {
    before = previous;
    previous = a;
    a = kBohr / (1.0 + std::exp(-sep / a));
  }
  return a;
}

Trial make_trial(double sep, double beta) {
  return {sep, decay_length(sep), 2.0 * kBohr, beta};
}

}  // namespace qh2::dmc
