// The boundary of the public routines (see api_call.h).
#include "records/api_call.h"

#include "records/messages.h"

namespace stylus {
namespace {

void (*g_cleanup)() = nullptr;

}  // namespace

ApiCall::ApiCall() = default;
ApiCall::~ApiCall() = default;

void api_failure() noexcept {
  try {
    const ApiCall call;
    warnin(53);
    if (g_cleanup != nullptr) g_cleanup();
  } catch (...) {
    // Nothing more can be done; the caller's program goes on all the same.
  }
}

void set_failure_cleanup(void (*cleanup)()) {
  g_cleanup = cleanup;
}

}  // namespace stylus
