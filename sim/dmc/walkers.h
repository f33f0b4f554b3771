// The walkers of one separation, one array per quantity (so that lanes load them side by
// side), what one move needs to know, and what it reports per walker.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sim/dmc/trial.h"

namespace qh2::dmc {

// A walker that splits makes at most this many copies in one step.
inline constexpr int kMaxCopies = 8;

// Per walker: the configuration (x1, y1, z1, x2, y2, z2 in A), the gradient of ln psi there,
// the two parts of psi (Evaluation), the local energy and the weight.
struct Walkers {
  std::array<std::vector<double>, 6> x, g;
  std::vector<double> lead, pair, energy, weight;

  int size() const { return static_cast<int>(lead.size()); }
  void resize(int n);
  // Walker `from` of `source` becomes walker `to` of this set.
  void copy_from(const Walkers& source, int from, int to);
};

// One move of all walkers.
struct MoveParams {
  Trial trial;
  double eps = 0;       // hbar2m tau (A^2): the variance of each coordinate's diffusion step
  double sigma = 0;     // sqrt(eps)
  double drift_a = 1;   // the parameter a of the drift limit
  bool branch = false;  // diffusion: weights and copies; variational: neither
  double tau_eff = 0;   // the time step of the weights (1/eV)
  double e_trial = 0;   // the reference energy E_T (eV)
  // The random numbers of walker slot s: Philox blocks counter0 ... counter0 + 3 of the counter
  // (block, s, step, stream) under key.
  std::array<uint32_t, 2> key{};
  uint32_t counter0 = 0;
  uint32_t step = 0;
  uint32_t stream = 0;
};

// Per walker, after a move: the acceptance probability, the squared length of the proposed
// move, the local energy at the walker's new position, its weight before branching and its
// number of copies (1 in variational runs).
struct MoveOutputs {
  std::vector<double> accept, moved2, energy, weight;
  std::vector<int32_t> copies;
  void resize(int n);
};

}  // namespace qh2::dmc
