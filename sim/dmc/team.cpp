// The team's hand-over: a generation counter that the helpers watch for the next job and a
// count of members still working that the caller watches for its end.
#include "sim/dmc/team.h"

#include <time.h>

namespace qh2::dmc {

namespace {

// Spins on an atomic until it differs from `old`, then sleeps on it.
template <class T>
void await_change(const std::atomic<T>& a, T old) {
  for (int i = 0; i < 4000; ++i) {
    if (a.load(std::memory_order_acquire) != old) return;
  }
  while (a.load(std::memory_order_acquire) == old) a.wait(old, std::memory_order_acquire);
}

double clock_seconds(clockid_t clock) {
  timespec t{};
  if (clock_gettime(clock, &t) != 0) return 0.0;
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

}  // namespace

Team::Team(int size) : size_(size < 1 ? 1 : size) {
  handles_.push_back(pthread_self());
  for (int m = 1; m < size_; ++m) {
    helpers_.emplace_back([this, m] { serve(m); });
    handles_.push_back(helpers_.back().native_handle());
  }
}

Team::~Team() {
  stop_.store(true, std::memory_order_release);
  generation_.fetch_add(1, std::memory_order_acq_rel);
  generation_.notify_all();
  for (std::thread& t : helpers_) t.join();
}

void Team::run(const std::function<void(int)>& job) {
  if (size_ == 1) {
    job(0);
    return;
  }
  job_ = &job;
  pending_.store(size_ - 1, std::memory_order_release);
  generation_.fetch_add(1, std::memory_order_acq_rel);
  generation_.notify_all();
  job(0);
  for (int left; (left = pending_.load(std::memory_order_acquire)) != 0;)
    await_change(pending_, left);
}

void Team::serve(int member) {
  uint64_t seen = 0;
  for (;;) {
    await_change(generation_, seen);
    seen = generation_.load(std::memory_order_acquire);
    if (stop_.load(std::memory_order_acquire)) return;
    (*job_)(member);
    if (pending_.fetch_sub(1, std::memory_order_acq_rel) == 1) pending_.notify_one();
  }
}

double Team::cpu_seconds() const {
  double total = 0.0;
  for (pthread_t t : handles_) {
    clockid_t clock;
    if (pthread_getcpuclockid(t, &clock) == 0) total += clock_seconds(clock);
  }
  return total;
}

double thread_cpu_seconds() {
  return clock_seconds(CLOCK_THREAD_CPUTIME_ID);
}

}  // namespace qh2::dmc
