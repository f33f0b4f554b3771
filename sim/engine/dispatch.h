// Which compiled version of the engine's kernels runs: the widest instruction set the
// processor offers (AVX-512, AVX2 or the x86-64 baseline), unless a lower one is asked
// for. Every version gives the same results to the bit.
#pragma once

#include <cstdint>

#include "sim/common/instruction_sets.h"
#include "sim/engine/engine.h"
#include "sim/engine/engine_eval.h"

namespace qh2 {

// The kernels of one instruction set (sim/engine/kernels.h): walkers go through the energies
// and trajectories `width` at a time, separations through the walks `walks` at a time
// and through the weights of still walkers `separations` at a time (a multiple of walks).
struct LaneKernels {
  VectorIsa isa;
  int width;
  int walks;
  int separations;
  void (*walk)(const RunParams& p, int count, const Shape* shapes, const uint32_t* starts,
               float* const* xw);
  bool (*still_energies)(const RunParams& p, const Shape& s, const float* xw, float* e, float* w);
  void (*still_weights)(const RunParams& p, int count, const float* const* e, const float* const* w,
                        float* esum);
  void (*trajectories)(const RunParams& p, const Shape& s, const float* xw, int first, int count,
                       uint32_t step0, float* e, float* w);
  // (float)exp(x[i]) for n arguments, by the kernels' exp.
  void (*exp_floats)(const double* x, float* out, int n);
};

// The kernels to use now: the best the processor has, up to the limit.
const LaneKernels& lane_kernels();

// Caps the version lane_kernels chooses (the default is no cap). For the tests and the
// benchmark, which compare and time the versions; qh2 itself never sets it.
void limit_vector_isa(VectorIsa isa);

}  // namespace qh2
