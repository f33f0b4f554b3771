// Puts the whole library back to the state of a freshly started process, so that each test
// starts from the same plot state whatever ran before it in the same program.
#pragma once

#include "state/state.h"

inline void fresh_process() {
  stylus::reset_process();
}
