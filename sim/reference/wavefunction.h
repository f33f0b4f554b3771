// The trial wave function of two electrons and two fixed centres on the z axis:
// distances, the atomic orbital chi, the Jastrow factor f, their derivatives, psi,
// and apar, which fixes the orbital's decay length for a separation.
#pragma once

namespace qh2::reference {

// sqrt(x*x + y*y + z*z).
float dist(const float& x, const float& y, const float& z);

// Splits the configuration c (x1, y1, z1, x2, y2, z2) into its coordinates and
// returns the electron-centre distances (centre L at z = -shalf, R at +shalf) and r12.
void radii(const float* c, float& x1, float& x2, float& y1, float& y2, float& z1, float& z2,
           float& r1l, float& r2l, float& r1r, float& r2r, float& r12);

// Orbital chi(r) = exp(-r/a) with a = pcalc.a, and its derivatives.
float chi(const float& r);
float fdchi(const float& r);
float sdchi(const float& r);
float lapchi(const float& r);  // chi'' + 2 chi'/r

// Jastrow factor f(r) = exp(r / (alpha (1 + beta r))) and its derivatives.
float fee(const float& r);
float fdfee(const float& r);
float sdfee(const float& r);
float lapfee(const float& r);  // f'' + 2 f'/r

// psi = (chi(r1L) + chi(r1R)) (chi(r2L) + chi(r2R)) f(r12).
float phi(const float* c);

// Solves a (1 + exp(-sep/a)) = a0 by fixed-point iteration from a = 10.
float apar(const float& a0, const float& sep);
// The same, also returning the number of iterations it took.
float apar_counted(const float& a0, const float& sep, int& iterations);

}  // namespace qh2::reference
