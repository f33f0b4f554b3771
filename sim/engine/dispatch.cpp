// The kernels of sim/engine/kernels.h compiled for AVX-512, AVX2 and the x86-64 baseline, each
// with its own square root, conversions and comparisons, and the choice among them at run
// time. The kernels are flattened so that every helper is compiled for their instruction set.
#include "sim/engine/dispatch.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

#include "sim/engine/kernels.h"

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define QH2_X86_KERNELS 1
#include <immintrin.h>
#endif

// The entry points of one instruction set's kernels over its Math, and their table. Math
// sets how many lane vectors go through the walks and through the weights in lockstep:
// enough independent chains to hide their latency, few enough to stay in registers.
#define QH2_KERNEL_TABLE(isa_value)                                                                \
  __attribute__((flatten)) void walk(const RunParams& p, int count, const Shape* shapes,           \
                                     const uint32_t* starts, float* const* xw) {                   \
    walk_lanes<Math, Math::kWalkGroups>(p, count, shapes, starts, xw);                             \
  }                                                                                                \
  __attribute__((flatten)) bool energies(const RunParams& p, const Shape& s, const float* xw,      \
                                         float* e, float* w) {                                     \
    return still_energies<Math>(p, s, xw, e, w);                                                   \
  }                                                                                                \
  __attribute__((flatten)) void weights(const RunParams& p, int count, const float* const* e,      \
                                        const float* const* w, float* esum) {                      \
    still_weights<Math, Math::kWeightGroups>(p, count, e, w, esum);                                \
  }                                                                                                \
  __attribute__((flatten)) void moving(const RunParams& p, const Shape& s, const float* xw,        \
                                       int first, int count, uint32_t step0, float* e, float* w) { \
    trajectories<Math>(p, s, xw, first, count, step0, e, w);                                       \
  }                                                                                                \
  __attribute__((flatten)) void exp_n(const double* x, float* out, int n) {                        \
    exp_floats<Math>(x, out, n);                                                                   \
  }                                                                                                \
  const LaneKernels kTable = {isa_value,                                                           \
                              lanes_of<Math::D>,                                                   \
                              Math::kWalkGroups * lanes_of<Math::D>,                               \
                              Math::kWeightGroups * lanes_of<Math::D>,                             \
                              walk,                                                                \
                              energies,                                                            \
                              weights,                                                             \
                              moving,                                                              \
                              exp_n};

namespace qh2 {

// Each Math's D fills one register of its instruction set; __builtin_bit_cast moves it
// between the lane types and the intrinsics' register types.
#define QH2_AS(type, x) __builtin_bit_cast(type, x)

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

#ifdef QH2_X86_KERNELS
#pragma GCC push_options
#pragma GCC target("avx2")
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
#pragma GCC pop_options

#pragma GCC push_options
#pragma GCC target("avx512f,avx512dq,avx512vl,avx512bw")
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
#pragma GCC pop_options
#endif

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
