// Uniform and Gaussian random numbers from the state held in nparam.seed. The state
// is a double so that state * 16807 (below 2^53) and its remainder are exact.
#include "sim/reference/random.h"

#include <cmath>

#include "sim/common/stream_layout.h"

namespace qh2::reference {

// The engine's integer form is lehmer_step and lehmer_uniform (sim/engine/stream.h, in lanes
// lane_stream.h); they must agree, tests/sim/engine/stream_test.cpp compares them.
float rannos(double& seed) {
  const double x = seed * 16807.0;
  seed = x - 2147483647.0 * std::floor(x / 2147483647.0);
  // The divisor is 2^31 + 63 on purpose: it keeps the largest result below 1.0f.
  return static_cast<float>(seed / 2147483711.0);
}

// The engine sums the same numbers in the Gaussian chains of trajectories
// (sim/engine/kernels.h); they must agree, tests/sim/engine/engine_test.cpp compares them.
float gauss(double& seed) {
  float sum = 0.0f;
  for (int i = 0; i < kGaussNumbers; ++i) sum = sum + rannos(seed);
  return sum - 6.0f;
}

}  // namespace qh2::reference
