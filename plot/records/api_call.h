// The boundary of every public routine: one runs at a time and a session's calls come from
// its own thread, and a C++ exception (memory that ran out) that reaches the boundary goes
// no further.
#pragma once

namespace stylus {

// Held by every public routine for its whole run, so that each runs alone: the plot state
// is one for the process. A session belongs to the thread that opened it: while it is open
// (level above 0 after a call), calls from other threads wait until it has ended. A routine
// that another one calls holds it once more on the same thread, which changes nothing.
class ApiCall {
 public:
  ApiCall();
  ~ApiCall();
  ApiCall(const ApiCall&) = delete;
  ApiCall& operator=(const ApiCall&) = delete;
};

// Forgets the session's thread (process reset); no routine may be running.
void reset_api_calls();

// A C++ exception reached the boundary of a public routine (std::bad_alloc, or a size no
// container holds): warning 53 "Not enough memory" in the routine, and the session in
// progress, if any, goes on without output (see set_failure_cleanup). Nothing leaves the
// library; the program goes on.
void api_failure() noexcept;

// What a failure does to the session beyond the warning (given by the session code: the
// driver and its unfinished file are dropped).
void set_failure_cleanup(void (*cleanup)());

}  // namespace stylus
