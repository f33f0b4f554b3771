// The walker ensemble of one separation: a Metropolis walk over psi^2 that samples
// nparam.nwalk walkers, and the weighted drift-diffusion time step over all of them.
#pragma once

namespace qh2::reference {

// Random start configuration of the Metropolis walker and its psi^2.
void intcfg(float* xc, float& psisq);

// One Metropolis step of the walker xc: all six coordinates move at once; the move is
// kept when a fresh uniform number is strictly below psi^2(new) / psi^2(old).
void metrop(float* xc, float& psisq);

// Fills xw (6 * nwalk coordinates) and wt (nwalk weights, all 1.0); xc is work space.
void intens(float* xw, float* wt, float* xc);

// Moves every walker by its drift and a Gaussian step, reweights it by
// exp(-tau E_L), returns the weighted mean local energy in e and rescales the weights
// to mean 1.
void tstep(float* xw, float* wt, float& e);

}  // namespace qh2::reference
