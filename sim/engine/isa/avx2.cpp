// The engine's kernels for AVX2 (4 doubles per vector).
#include "sim/engine/isa/kernel_table.h"

#ifdef QH2_X86_KERNELS
#pragma GCC push_options
#pragma GCC target("avx2")
namespace qh2 {
namespace avx2 {
struct Math {
  using D = VectorOf<double, 4>::type;
  static constexpr int kWalkGroups = 2, kWeightGroups = 8;
  using F = FloatsOf<D>;
  static D sqrt(D x) { return QH2_AS(D, _mm256_sqrt_pd(QH2_AS(__m256d, x))); }
  static D rnd(D x) { return QH2_AS(D, _mm256_cvtps_pd(_mm256_cvtpd_ps(QH2_AS(__m256d, x)))); }
  static D trunc(D x) {
    return QH2_AS(D, _mm256_cvtepi32_pd(_mm256_cvttpd_epi32(QH2_AS(__m256d, x))));
  }
  static D widen(F x) { return QH2_AS(D, _mm256_cvtps_pd(QH2_AS(__m128, x))); }
  static bool any(Int64sOf<D> m) { return _mm256_movemask_pd(QH2_AS(__m256d, m)); }
  static Int64sOf<D> less(D a, D b) {
    return QH2_AS(Int64sOf<D>, _mm256_cmp_pd(QH2_AS(__m256d, a), QH2_AS(__m256d, b), _CMP_LT_OQ));
  }
};
QH2_KERNEL_TABLE(VectorIsa::avx2)
}  // namespace avx2
}  // namespace qh2
#pragma GCC pop_options
#endif
