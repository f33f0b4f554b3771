// The drift displacement of one walker: pcalc.dscale times the gradient of ln psi.
#pragma once

namespace qh2::reference {

// d receives the six components (x1, y1, z1, x2, y2, z2) for the configuration c.
void drift(const float* c, float* d);

}  // namespace qh2::reference
