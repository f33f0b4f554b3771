// The boundary of the public routines (see api_call.h).
#include "records/api_call.h"

#include <condition_variable>
#include <mutex>
#include <thread>

#include "records/messages.h"
#include "records/state.h"

namespace stylus {
namespace {

void (*g_cleanup)() = nullptr;

std::mutex g_mutex;
std::condition_variable g_free;  // a routine has returned
bool g_running = false;          // some thread is inside a routine
bool g_session = false;          // a session is open, owned by g_owner
std::thread::id g_owner;
thread_local int t_depth = 0;  // routines of this thread inside each other

}  // namespace

ApiCall::ApiCall() {
  if (t_depth++ > 0) return;
  std::unique_lock<std::mutex> lock(g_mutex);
  const std::thread::id me = std::this_thread::get_id();
  g_free.wait(lock, [me] { return !g_running && (!g_session || g_owner == me); });
  g_running = true;
}

ApiCall::~ApiCall() {
  if (--t_depth > 0) return;
  {
    const std::lock_guard<std::mutex> lock(g_mutex);
    g_running = false;
    // Whatever the routine did: the session it left open (disini) is this thread's until it
    // is ended (disfin).
    g_session = g_ivray.level != 0;
    if (g_session) g_owner = std::this_thread::get_id();
  }
  g_free.notify_all();
}

void reset_api_calls() {
  {
    const std::lock_guard<std::mutex> lock(g_mutex);
    g_session = false;
  }
  g_free.notify_all();
}

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
