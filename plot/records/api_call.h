// The boundary of every public routine: what holds while one runs, and what happens when a
// C++ exception (memory that ran out) reaches it instead of the caller.
#pragma once

namespace stylus {

// Held by every public routine for its whole run; a routine that another one calls holds
// it once more on the same thread, which changes nothing.
class ApiCall {
 public:
  ApiCall();
  ~ApiCall();
  ApiCall(const ApiCall&) = delete;
  ApiCall& operator=(const ApiCall&) = delete;
};

// A C++ exception reached the boundary of a public routine (std::bad_alloc, or a size no
// container holds): warning 53 "Not enough memory" in the routine, and the session in
// progress, if any, goes on without output (see set_failure_cleanup). Nothing leaves the
// library; the program goes on.
void api_failure() noexcept;

// What a failure does to the session beyond the warning (given by the session code: the
// driver and its unfinished file are dropped).
void set_failure_cleanup(void (*cleanup)());

}  // namespace stylus
