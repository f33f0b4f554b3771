// The choice among the compiled versions of the engine's kernels (sim/engine/isa/): the
// widest instruction set the processor has, up to the limit the tests and the benchmark set.
#include "sim/engine/dispatch.h"

#include <atomic>

#include "sim/engine/isa/tables.h"

namespace qh2 {

namespace {
std::atomic<VectorIsa> g_limit{VectorIsa::avx512};
}  // namespace

bool vector_isa_available(VectorIsa isa) {
#ifdef QH2_X86_KERNELS
  __builtin_cpu_init();
  switch (isa) {
    case VectorIsa::baseline:
      return true;
    case VectorIsa::avx2:
      return __builtin_cpu_supports("avx2");
    case VectorIsa::avx512:
      // DQ gives lane masks as vectors: without it GCC compares lane by lane.
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
             __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw");
  }
  return false;
#else
  return isa == VectorIsa::baseline;
#endif
}

const LaneKernels& lane_kernels() {
  const VectorIsa limit = g_limit.load(std::memory_order_relaxed);
#ifdef QH2_X86_KERNELS
  if (limit >= VectorIsa::avx512 && vector_isa_available(VectorIsa::avx512)) {
    return avx512::kTable;
  }
  if (limit >= VectorIsa::avx2 && vector_isa_available(VectorIsa::avx2)) return avx2::kTable;
#endif
  return baseline::kTable;
}

void limit_vector_isa(VectorIsa isa) {
  g_limit.store(isa, std::memory_order_relaxed);
}

const char* vector_isa_name(VectorIsa isa) {
  switch (isa) {
    case VectorIsa::baseline:
      return "baseline";
    case VectorIsa::avx2:
      return "AVX2";
    case VectorIsa::avx512:
      return "AVX-512";
  }
  return "?";
}

}  // namespace qh2
