// The diffusion engine's kernels for AVX2 (4 doubles per vector).
#include "sim/dmc/isa/kernel_table.h"

#ifdef QH2_DMC_X86
#pragma GCC push_options
#pragma GCC target("avx2")
namespace qh2::dmc {
namespace avx2 {
struct Math {
  using D = VectorOf<double, 4>::type;
  using U = Uint64sOf<D>;
  static D sqrt(D x) { return QH2_DMC_AS(D, _mm256_sqrt_pd(QH2_DMC_AS(__m256d, x))); }
  static D trunc(D x) {
    return QH2_DMC_AS(D, _mm256_cvtepi32_pd(_mm256_cvttpd_epi32(QH2_DMC_AS(__m256d, x))));
  }
  static Int64sOf<D> less(D a, D b) {
    return QH2_DMC_AS(Int64sOf<D>,
                      _mm256_cmp_pd(QH2_DMC_AS(__m256d, a), QH2_DMC_AS(__m256d, b), _CMP_LT_OQ));
  }
  static U mul32(U a, U b) {
    return QH2_DMC_AS(U, _mm256_mul_epu32(QH2_DMC_AS(__m256i, a), QH2_DMC_AS(__m256i, b)));
  }
};
QH2_DMC_KERNEL_TABLE(VectorIsa::avx2)
}  // namespace avx2
}  // namespace qh2::dmc
#pragma GCC pop_options
#endif
