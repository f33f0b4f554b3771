// The three compiled versions of the diffusion engine's kernels, one per instruction set, each
// in its own file of this folder; dispatch.cpp chooses among them at run time.
#pragma once

#include "sim/dmc/dispatch.h"

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define QH2_DMC_X86 1
#endif

namespace qh2::dmc {
namespace baseline {
extern const Kernels kTable;
}  // namespace baseline
#ifdef QH2_DMC_X86
namespace avx2 {
extern const Kernels kTable;
}  // namespace avx2
namespace avx512 {
extern const Kernels kTable;
}  // namespace avx512
#endif
}  // namespace qh2::dmc
