// The layout of the one random stream: how many numbers each routine of the sequential scan
// draws, in the order it draws them. The engine puts every consumer at its own place in the
// stream by jump-ahead over these counts, so they must follow the routines' draw order.
#pragma once

#include <cstdint>

namespace qh2 {

// gauss: twelve rannos numbers, summed.
inline constexpr int kGaussNumbers = 12;
// intcfg: one rannos number per coordinate (x1, y1, z1, x2, y2, z2).
inline constexpr int kIntcfgNumbers = 6;
// metrop: one number per coordinate for the move, then the test number, drawn on every step
// whether the move is kept or not.
inline constexpr int kMetropNumbers = 6 + 1;
// intens: the Metropolis walker's steps before the first walker is taken, then between one
// walker and the next.
inline constexpr int kBurnInSteps = 20;
inline constexpr int kStepsPerWalker = 10;
// tstep, for each walker in index order: one gauss per coordinate.
inline constexpr int kWalkerStepNumbers = 6 * kGaussNumbers;

// intens for nwalk walkers: intcfg, then kBurnInSteps + kStepsPerWalker * nwalk steps.
constexpr uint64_t ensemble_numbers(uint64_t nwalk) {
  return kIntcfgNumbers + kMetropNumbers * (kBurnInSteps + kStepsPerWalker * nwalk);
}

// tstep's numbers for the first `walkers` walkers (for all of them: one time step).
constexpr uint64_t step_numbers(uint64_t walkers) {
  return kWalkerStepNumbers * walkers;
}

// The time steps of a separation: neq equilibration steps (none when neq is not positive)
// and the production step.
constexpr int time_steps(int neq) {
  return (neq > 0 ? neq : 0) + 1;
}

// One separation of the scan: its ensemble, then its time steps. The next separation's
// numbers follow directly.
constexpr uint64_t separation_numbers(uint64_t nwalk, int neq) {
  return ensemble_numbers(nwalk) + uint64_t(time_steps(neq)) * step_numbers(nwalk);
}

// With the start-up values, 900 walkers and 100 equilibration steps: a walk of 9,020 steps.
static_assert(kWalkerStepNumbers == 72);
static_assert(ensemble_numbers(900) == 63146);  // 6 + 7 * 9020
static_assert(step_numbers(900) == 64800);
static_assert(separation_numbers(900, 100) == 6607946);  // 63146 + 101 * 64800

}  // namespace qh2
