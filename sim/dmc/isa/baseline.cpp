// The diffusion engine's kernels for the x86-64 baseline (SSE2, 2 doubles per vector), or with
// generic lane arithmetic of 4 doubles where the x86 intrinsics are not available.
#include "sim/dmc/isa/kernel_table.h"

namespace qh2::dmc {
namespace baseline {
#ifdef QH2_DMC_X86
struct Math {
  using D = VectorOf<double, 2>::type;
  using U = Uint64sOf<D>;
  static D sqrt(D x) { return QH2_DMC_AS(D, _mm_sqrt_pd(QH2_DMC_AS(__m128d, x))); }
  static D trunc(D x) {
    return QH2_DMC_AS(D, _mm_cvtepi32_pd(_mm_cvttpd_epi32(QH2_DMC_AS(__m128d, x))));
  }
  static Int64sOf<D> less(D a, D b) {
    return QH2_DMC_AS(Int64sOf<D>, _mm_cmplt_pd(QH2_DMC_AS(__m128d, a), QH2_DMC_AS(__m128d, b)));
  }
  static U mul32(U a, U b) {
    return QH2_DMC_AS(U, _mm_mul_epu32(QH2_DMC_AS(__m128i, a), QH2_DMC_AS(__m128i, b)));
  }
};
#else
struct Math {
  using D = VectorOf<double, 4>::type;
  using U = Uint64sOf<D>;
  static D sqrt(D x) {
    for (int l = 0; l < lanes_of<D>; ++l) x[l] = __builtin_sqrt(x[l]);
    return x;
  }
  static D trunc(D x) {
    for (int l = 0; l < lanes_of<D>; ++l) x[l] = static_cast<double>(static_cast<int32_t>(x[l]));
    return x;
  }
  static Int64sOf<D> less(D a, D b) { return a < b; }
  static U mul32(U a, U b) { return (a & 0xffffffffu) * (b & 0xffffffffu); }
};
#endif
QH2_DMC_KERNEL_TABLE(VectorIsa::baseline)
}  // namespace baseline
}  // namespace qh2::dmc
