// Which instruction sets this processor offers, as the kernels need them.
#include "sim/common/instruction_sets.h"

namespace qh2 {

bool vector_isa_available(VectorIsa isa) {
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
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
