// Which compiled version of the diffusion engine's kernels runs: the widest instruction set the
// processor offers (AVX-512, AVX2 or the x86-64 baseline), unless a lower one is asked for.
// Every version computes the same bits: the kernels use IEEE operations lane by lane only.
#pragma once

#include "sim/common/instruction_sets.h"
#include "sim/dmc/walkers.h"

namespace qh2::dmc {

struct Kernels {
  VectorIsa isa;
  int width;  // walkers per lane vector
  // move_walkers (sim/dmc/kernels.h) for the walkers first ... first + count - 1, in vectors.
  void (*move)(const MoveParams& mp, Walkers& w, int first, int count, MoveOutputs& out);
  // evaluate_configurations (sim/dmc/kernels.h).
  void (*evaluate)(const Trial& t, const double* const* x, int count, double* lead, double* pair,
                   double* energy, double* const* g);
};

// The kernels to use now: the best the processor has, up to the limit.
const Kernels& kernels();

// Caps the version kernels() chooses (the default is no cap): for the tests, which compare
// the versions, and the benchmark, which times them.
void limit_isa(VectorIsa isa);

}  // namespace qh2::dmc
