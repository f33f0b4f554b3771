// A minimal fork-join loop over std::thread: indices are handed out one at a time in
// increasing order, so a worker that finishes early takes the next one.
#pragma once

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace qh2 {

// Threads the hardware offers, at least 1.
inline int hardware_threads() {
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

// Calls body(i) for every i in [0, n) on up to `threads` threads, the caller's included.
template <class Body>
void parallel_for(int n, int threads, const Body& body) {
  threads = std::max(1, std::min(threads, n));
  std::atomic<int> next{0};
  auto work = [&] {
    for (int i; (i = next.fetch_add(1, std::memory_order_relaxed)) < n;) body(i);
  };
  std::vector<std::thread> helpers;
  helpers.reserve(threads - 1);
  for (int t = 1; t < threads; ++t) helpers.emplace_back(work);
  work();
  for (std::thread& h : helpers) h.join();
}

}  // namespace qh2
