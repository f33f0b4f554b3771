// The four shared records of the simulation, one global instance each.
#include "sim/reference/records.h"

namespace qh2::reference {

nparam_t nparam;
pparam_t pparam;
const_t const_;
pcalc_t pcalc;

}  // namespace qh2::reference
