// Lane vectors of the engine: several walkers or separations side by side in GCC vector
// types, with the operations the formulas need. Every lane computes exactly what the
// scalar code computes (IEEE operations lane by lane, the same roundings).
#pragma once

#include <cmath>
#include <cstdint>

// The lane types only pass between inline functions of one translation unit, never
// across a library boundary, so the note that their calling convention depends on the
// instruction set does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

// Every function that takes or returns lanes and is not itself compiled for a kernel's
// instruction set must be always inlined (no lambdas either): the kernels are compiled
// once per instruction set, and a function compiled for the baseline passes lanes in
// another convention than its caller. Unoptimised builds would show it first.
#define QH2_INLINE inline __attribute__((always_inline))

namespace qh2 {

template <class T, int N>
struct VectorOf {
  typedef T type __attribute__((vector_size(sizeof(T) * N)));
};

// The lane types that go with a vector D of doubles: as many floats, 32- and 64-bit
// integers, lane for lane.
template <class D>
inline constexpr int lanes_of = sizeof(D) / sizeof(double);
template <class D>
using FloatsOf = typename VectorOf<float, lanes_of<D>>::type;
template <class D>
using Int32sOf = typename VectorOf<int32_t, lanes_of<D>>::type;
template <class D>
using Int64sOf = typename VectorOf<int64_t, lanes_of<D>>::type;
template <class D>
using Uint64sOf = typename VectorOf<uint64_t, lanes_of<D>>::type;

template <class D>
concept DoubleLanes = lanes_of<D> >
1 && sizeof(D) == sizeof(double) * lanes_of<D>;

// a where the mask (all ones or all zeros per lane) is set, b elsewhere: bit operations,
// because comparisons and selections of lane vectors written here would be lowered lane
// by lane, outside the kernels' instruction set (M::less gives the masks).
template <DoubleLanes D>
QH2_INLINE D select(Int64sOf<D> mask, D a, D b) {
  using I = Int64sOf<D>;
  return __builtin_bit_cast(D,
                            (__builtin_bit_cast(I, a) & mask) | (__builtin_bit_cast(I, b) & ~mask));
}

// The same value in every lane.
template <class V, class T>
QH2_INLINE V splat(T x) {
  return V{} + x;
}

}  // namespace qh2
