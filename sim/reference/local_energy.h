// The local energy (H psi)/psi of the trial wave function at one configuration.
#pragma once

namespace qh2::reference {

// Local energy in eV at the configuration c (x1, y1, z1, x2, y2, z2), which is not changed.
float elocal(const float* c);

}  // namespace qh2::reference
