// Puts the whole library back to the state of a freshly started process, so that each test
// starts from the same plot state whatever ran before it in the same program.
#pragma once

#include "api/reset.h"
#include "records/state.h"

inline void fresh_process() {
  stylus::reset_process();
}
