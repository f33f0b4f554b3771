// The choice among the compiled versions of the diffusion engine's kernels (sim/dmc/isa/): the
// widest instruction set the processor has, up to the limit the tests and the benchmark set.
#include "sim/dmc/dispatch.h"

#include <atomic>

#include "sim/dmc/isa/tables.h"

namespace qh2::dmc {

namespace {
std::atomic<VectorIsa> g_limit{VectorIsa::avx512};
}  // namespace

const Kernels& kernels() {
  const VectorIsa limit = g_limit.load(std::memory_order_relaxed);
#ifdef QH2_DMC_X86
  if (limit >= VectorIsa::avx512 && vector_isa_available(VectorIsa::avx512)) {
    return avx512::kTable;
  }
  if (limit >= VectorIsa::avx2 && vector_isa_available(VectorIsa::avx2)) return avx2::kTable;
#endif
  return baseline::kTable;
}

void limit_isa(VectorIsa isa) {
  g_limit.store(isa, std::memory_order_relaxed);
}

}  // namespace qh2::dmc
