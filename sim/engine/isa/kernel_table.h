// What each instruction set's file compiles: the kernels of sim/engine/kernels.h over its
// Math, flattened so that every helper is compiled for that instruction set, and their table.
// Only the three files of this folder include it, each inside its own namespace.
#pragma once

#include <cmath>
#include <cstring>

#include "sim/engine/isa/tables.h"
#include "sim/engine/kernels.h"

#ifdef QH2_X86_KERNELS
#include <immintrin.h>
#endif

// Each Math's D fills one register of its instruction set; __builtin_bit_cast moves it
// between the lane types and the intrinsics' register types.
#define QH2_AS(type, x) __builtin_bit_cast(type, x)

// The entry points of one instruction set's kernels over its Math, and their table. Math
// sets how many lane vectors go through the walks and through the weights in lockstep:
// enough independent chains to hide their latency, few enough to stay in registers.
#define QH2_KERNEL_TABLE(isa_value)                                                                \
  __attribute__((flatten)) void walk(const RunParams& p, int count, const Shape* shapes,           \
                                     const uint32_t* starts, float* const* xw) {                   \
    walk_lanes<Math, Math::kWalkGroups>(p, count, shapes, starts, xw);                             \
  }                                                                                                \
  __attribute__((flatten)) bool energies(const RunParams& p, const Shape& s, const float* xw,      \
                                         float* e, float* w) {                                     \
    return still_energies<Math>(p, s, xw, e, w);                                                   \
  }                                                                                                \
  __attribute__((flatten)) void weights(const RunParams& p, int count, const float* const* e,      \
                                        const float* const* w, float* esum) {                      \
    still_weights<Math, Math::kWeightGroups>(p, count, e, w, esum);                                \
  }                                                                                                \
  __attribute__((flatten)) void moving(const RunParams& p, const Shape& s, const float* xw,        \
                                       int first, int count, uint32_t step0, float* e, float* w) { \
    trajectories<Math>(p, s, xw, first, count, step0, e, w);                                       \
  }                                                                                                \
  __attribute__((flatten)) void exp_n(const double* x, float* out, int n) {                        \
    exp_floats<Math>(x, out, n);                                                                   \
  }                                                                                                \
  const LaneKernels kTable = {isa_value,                                                           \
                              lanes_of<Math::D>,                                                   \
                              Math::kWalkGroups * lanes_of<Math::D>,                               \
                              Math::kWeightGroups * lanes_of<Math::D>,                             \
                              walk,                                                                \
                              energies,                                                            \
                              weights,                                                             \
                              moving,                                                              \
                              exp_n};
