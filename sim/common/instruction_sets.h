// The instruction sets the simulation's kernels are compiled for (the x86-64 baseline, AVX2 and
// AVX-512), whether this processor runs each, and their names. Both engines choose among their
// compiled versions with these.
#pragma once

namespace qh2 {

enum class VectorIsa { baseline, avx2, avx512 };

// Whether this processor (and build) can run the given version.
bool vector_isa_available(VectorIsa isa);

const char* vector_isa_name(VectorIsa isa);

}  // namespace qh2
