// The diffusion engine's kernels for AVX-512 (8 doubles per vector; F, DQ, VL and BW).
#include "sim/dmc/isa/kernel_table.h"

#ifdef QH2_DMC_X86
#pragma GCC push_options
#pragma GCC target("avx512f,avx512dq,avx512vl,avx512bw")
namespace qh2::dmc {
namespace avx512 {
struct Math {
  using D = VectorOf<double, 8>::type;
  using U = Uint64sOf<D>;
  // Zero-masked forms: the plain ones read an undefined register GCC 12 warns about.
  static D sqrt(D x) { return QH2_DMC_AS(D, _mm512_maskz_sqrt_pd(0xff, QH2_DMC_AS(__m512d, x))); }
  static D trunc(D x) {
    return QH2_DMC_AS(
        D, _mm512_maskz_cvtepi32_pd(0xff, _mm512_maskz_cvttpd_epi32(0xff, QH2_DMC_AS(__m512d, x))));
  }
  static Int64sOf<D> less(D a, D b) {
    return QH2_DMC_AS(Int64sOf<D>,
                      _mm512_movm_epi64(_mm512_cmp_pd_mask(QH2_DMC_AS(__m512d, a),
                                                           QH2_DMC_AS(__m512d, b), _CMP_LT_OQ)));
  }
  static U mul32(U a, U b) {
    return QH2_DMC_AS(U,
                      _mm512_maskz_mul_epu32(0xff, QH2_DMC_AS(__m512i, a), QH2_DMC_AS(__m512i, b)));
  }
};
QH2_DMC_KERNEL_TABLE(VectorIsa::avx512)
}  // namespace avx512
}  // namespace qh2::dmc
#pragma GCC pop_options
#endif
