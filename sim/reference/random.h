// The simulation's one random stream: a multiplicative congruential generator of
// uniform numbers (rannos) and a twelve-term approximately normal deviate (gauss).
#pragma once

namespace qh2::reference {

// Advances the state (a whole number in 1 ... 2147483646) by one step and returns
// state / 2147483711 in single precision, strictly inside (0, 1).
float rannos(double& seed);

// Sum of twelve uniform numbers minus 6: mean 0, variance 1, range -6 ... +6.
float gauss(double& seed);

}  // namespace qh2::reference
