// A team of threads that runs one job on all its members at once, many times: the walkers of
// one separation are shared out over the team at every step. The members wait for the next
// job between steps, spinning briefly and then sleeping, so a step costs microseconds of
// synchronisation rather than a thread start.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include <pthread.h>

namespace qh2::dmc {

class Team {
 public:
  // A team of `size` threads: the caller of run and size - 1 helpers.
  explicit Team(int size);
  ~Team();
  Team(const Team&) = delete;
  Team& operator=(const Team&) = delete;

  int size() const { return size_; }
  // Calls job(member) for member = 0 ... size - 1, each on its own thread (member 0 on the
  // caller's), and returns when all have returned.
  void run(const std::function<void(int member)>& job);
  // Processor seconds that the team's threads (the caller's included) have used so far.
  double cpu_seconds() const;

 private:
  void serve(int member);

  int size_;
  std::vector<std::thread> helpers_;
  std::vector<pthread_t> handles_;
  const std::function<void(int)>* job_ = nullptr;
  std::atomic<uint64_t> generation_{0};
  std::atomic<int> pending_{0};
  std::atomic<bool> stop_{false};
};

// Processor seconds of the calling thread.
double thread_cpu_seconds();

}  // namespace qh2::dmc
