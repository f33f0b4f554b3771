// Linked into qh2's own main for the benchmark's qh2_avx2: the engine's kernels are held
// to AVX2 (or less, where the processor lacks it), as on machines without AVX-512.
#include "sim/engine/dispatch.h"

namespace {
const bool kHeldToAvx2 = (qh2::limit_vector_isa(qh2::VectorIsa::avx2), true);
}  // namespace
