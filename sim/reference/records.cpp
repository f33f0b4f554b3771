// The four shared records of the simulation, one global instance each.
#include "sim/reference/records.h"

nparam_t nparam;
pparam_t pparam;
const_t const_;
pcalc_t pcalc;
