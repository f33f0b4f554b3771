// A list of runs (separations, each at one or several time steps) spread over threads: whole
// runs over the threads when there are enough runs, the walkers of one run over all threads
// when there are not. The results are the same for any number of threads.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "sim/dmc/run.h"

namespace qh2::dmc {

struct Job {
  double separation;  // A
  double time_step;   // 1/eV
};

// What a progress display reads while the runs go on (from any thread).
class ScanProgress {
 public:
  explicit ScanProgress(int jobs);
  // The fraction of all work done, taking each run as an equal share.
  double fraction() const;
  // The first run that has started and not ended (-1: none).
  int current() const;
  void set(int job, double fraction);

 private:
  std::unique_ptr<std::atomic<double>[]> done_;
  int jobs_;
};

// The threads run_jobs computes on: all, unless there are fewer runs than threads and too few
// walkers to share (kWalkersPerThread per thread at least).
inline constexpr int kWalkersPerThread = 1000;
int threads_used(const Settings& s, int jobs, int threads);

// Runs every job with the settings (their time step replaced by the job's), on `threads`
// threads, and hands each result to `emit` in the order of the jobs, as soon as it and all
// before it are done (emit is called on one thread at a time). A run that fails (a population
// that dies out) stops the others; its error is thrown once all have stopped.
void run_jobs(const Settings& s, const std::vector<Job>& jobs, int threads, ScanProgress& progress,
              const std::function<void(int job, const Result&)>& emit);

}  // namespace qh2::dmc
