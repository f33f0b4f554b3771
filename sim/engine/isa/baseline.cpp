// The engine's kernels for the x86-64 baseline (SSE2, 2 doubles per vector), or with
// generic lane arithmetic of 4 doubles where the x86 intrinsics are not available.
#include "sim/engine/isa/kernel_table.h"

namespace qh2 {
namespace baseline {
#ifdef QH2_X86_KERNELS
struct Math {
  using D = VectorOf<double, 2>::type;
  static constexpr int kWalkGroups = 4, kWeightGroups = 8;
  using F = FloatsOf<D>;
  static D sqrt(D x) { return QH2_AS(D, _mm_sqrt_pd(QH2_AS(__m128d, x))); }
  static D rnd(D x) { return QH2_AS(D, _mm_cvtps_pd(_mm_cvtpd_ps(QH2_AS(__m128d, x)))); }
  static D trunc(D x) { return QH2_AS(D, _mm_cvtepi32_pd(_mm_cvttpd_epi32(QH2_AS(__m128d, x)))); }
  static D widen(F x) {
    __m128 f = _mm_setzero_ps();
    std::memcpy(&f, &x, sizeof x);
    return __builtin_bit_cast(D, _mm_cvtps_pd(f));
  }
  static bool any(Int64sOf<D> m) { return _mm_movemask_pd(QH2_AS(__m128d, m)); }
  static Int64sOf<D> less(D a, D b) {
    return QH2_AS(Int64sOf<D>, _mm_cmplt_pd(QH2_AS(__m128d, a), QH2_AS(__m128d, b)));
  }
};
#else
struct Math {
  using D = VectorOf<double, 4>::type;
  static constexpr int kWalkGroups = 2, kWeightGroups = 4;
  static D sqrt(D x) {
    for (int l = 0; l < lanes_of<D>; ++l) x[l] = std::sqrt(x[l]);
    return x;
  }
  static D rnd(D x) { return __builtin_convertvector(__builtin_convertvector(x, FloatsOf<D>), D); }
  static D trunc(D x) { return ConvertingLanes::trunc(x); }
  static D widen(FloatsOf<D> x) { return __builtin_convertvector(x, D); }
  static bool any(Int64sOf<D> m) {
    int64_t bits = 0;
    for (int l = 0; l < lanes_of<D>; ++l) bits |= m[l];
    return bits < 0;
  }
  static Int64sOf<D> less(D a, D b) { return a < b; }
};
#endif
QH2_KERNEL_TABLE(VectorIsa::baseline)
}  // namespace baseline
}  // namespace qh2
