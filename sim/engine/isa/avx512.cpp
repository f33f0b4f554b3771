// The engine's kernels for AVX-512 (8 doubles per vector; F, DQ, VL and BW).
#include "sim/engine/isa/kernel_table.h"

#ifdef QH2_X86_KERNELS
#pragma GCC push_options
#pragma GCC target("avx512f,avx512dq,avx512vl,avx512bw")
namespace qh2 {
namespace avx512 {
struct Math {
  using D = VectorOf<double, 8>::type;
  static constexpr int kWalkGroups = 2, kWeightGroups = 4;
  static D sqrt(D x) {
    // Zero-masked forms throughout: the plain ones read an undefined register GCC 12
    // warns about.
    return QH2_AS(D, _mm512_maskz_sqrt_pd(0xff, QH2_AS(__m512d, x)));
  }
  static D rnd(D x) {
    return QH2_AS(D, _mm512_maskz_cvtps_pd(0xff, _mm512_maskz_cvtpd_ps(0xff, QH2_AS(__m512d, x))));
  }
  static D trunc(D x) {
    return QH2_AS(
        D, _mm512_maskz_cvtepi32_pd(0xff, _mm512_maskz_cvttpd_epi32(0xff, QH2_AS(__m512d, x))));
  }
  static D widen(FloatsOf<D> x) {
    return QH2_AS(D, _mm512_maskz_cvtps_pd(0xff, QH2_AS(__m256, x)));
  }
  static bool any(Int64sOf<D> m) { return _mm512_movepi64_mask(QH2_AS(__m512i, m)); }
  static Int64sOf<D> less(D a, D b) {
    return QH2_AS(Int64sOf<D>, _mm512_movm_epi64(_mm512_cmp_pd_mask(
                                   QH2_AS(__m512d, a), QH2_AS(__m512d, b), _CMP_LT_OQ)));
  }
};
QH2_KERNEL_TABLE(VectorIsa::avx512)
}  // namespace avx512
}  // namespace qh2
#pragma GCC pop_options
#endif
