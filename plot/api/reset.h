// The reset of the whole library to its program-start state.
#pragma once

namespace stylus {

// Returns every record and every module state of the library to its program-start state:
// the plot records, the pen, line-style, clip, font, axis and curve records, the session's
// driver and the drivers' memory, the screen windows, the clock and the message window.
// For tests and the fuzz driver; the next library call applies the defaults again.
void reset_process();

}  // namespace stylus
