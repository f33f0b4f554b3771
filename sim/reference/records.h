// The shared records of the simulation: run parameters, system parameters, physical
// constants and the values derived per separation. All zero at program start.
#pragma once

#include <cstdint>

// The sequential routines and these records keep their given names in qh2::reference; no C
// or Fortran code links to them, so none of them needs to be global.
namespace qh2::reference {

struct nparam_t {
  double seed;    // random generator state, a whole number in 1 ... 2147483646
  int32_t neq;    // equilibration time steps per separation
  int32_t nwalk;  // number of walkers
  float tau;      // time step (1/eV)
  float delta;    // Metropolis step width (Angstrom)
};

struct pparam_t {
  float sep;   // separation of the two centres (Angstrom)
  float beta;  // Jastrow parameter (1/Angstrom)
};

struct const_t {
  float e2;      // Coulomb constant (eV Angstrom)
  float a0;      // Bohr radius (Angstrom)
  float alpha;   // Jastrow cusp length (Angstrom)
  float hbar2m;  // hbar^2/m of the electron (eV Angstrom^2)
};

struct pcalc_t {
  float a;       // decay length of the atomic orbital
  float shalf;   // half separation
  float dscale;  // drift scale, never set by the driver: stays 0
  float sigma;   // diffusion step length, never set by the driver: stays 0
};

extern nparam_t nparam;
extern pparam_t pparam;
extern const_t const_;
extern pcalc_t pcalc;

}  // namespace qh2::reference
