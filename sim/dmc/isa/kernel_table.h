// What each instruction set's file compiles: the kernels of sim/dmc/kernels.h over its Math,
// flattened so that every helper is compiled for that instruction set, and their table. Only
// the three files of this folder include it, each inside its own namespace.
#pragma once

#include <cstring>

#include "sim/dmc/isa/tables.h"
#include "sim/dmc/kernels.h"

#ifdef QH2_DMC_X86
#include <immintrin.h>
#endif

#define QH2_DMC_AS(type, x) __builtin_bit_cast(type, x)

#define QH2_DMC_KERNEL_TABLE(isa_value)                                                      \
  __attribute__((flatten)) void move(const MoveParams& mp, Walkers& w, int first, int count, \
                                     MoveOutputs& out) {                                     \
    constexpr int W = lanes_of<Math::D>;                                                     \
    for (int at = first; at < first + count; at += W)                                        \
      move_walkers<Math>(mp, w, at, std::min(W, first + count - at), out);                   \
  }                                                                                          \
  __attribute__((flatten)) void evaluate(const Trial& t, const double* const* x, int count,  \
                                         double* lead, double* pair, double* energy,         \
                                         double* const* g) {                                 \
    evaluate_configurations<Math>(t, x, count, lead, pair, energy, g);                       \
  }                                                                                          \
  const Kernels kTable = {isa_value, lanes_of<Math::D>, move, evaluate};
