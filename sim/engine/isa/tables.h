// The three compiled versions of the engine's kernels, one per instruction set, each in
// its own file of this folder; dispatch.cpp chooses among them at run time.
#pragma once

#include "sim/engine/dispatch.h"

// The AVX2 and AVX-512 versions need GCC's x86 intrinsics; elsewhere only the baseline's
// generic lane arithmetic is built.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define QH2_X86_KERNELS 1
#endif

namespace qh2 {
namespace baseline {
extern const LaneKernels kTable;
}  // namespace baseline
#ifdef QH2_X86_KERNELS
namespace avx2 {
extern const LaneKernels kTable;
}  // namespace avx2
namespace avx512 {
extern const LaneKernels kTable;
}  // namespace avx512
#endif
}  // namespace qh2
