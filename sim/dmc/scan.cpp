// The runs of a list on the threads, and their results handed out in order.
#include "sim/dmc/scan.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>

#include "sim/dmc/team.h"

namespace qh2::dmc {

int threads_used(const Settings& s, int jobs, int threads) {
  threads = std::max(1, threads);
  return jobs >= threads ? threads : std::max(1, std::min(threads, s.walkers / kWalkersPerThread));
}

ScanProgress::ScanProgress(int jobs)
    : done_(new std::atomic<double>[jobs > 0 ? jobs : 1]), jobs_(jobs) {
  for (int i = 0; i < jobs_; ++i) done_[i].store(0.0);
}

double ScanProgress::fraction() const {
  double sum = 0;
  for (int i = 0; i < jobs_; ++i) sum += done_[i].load(std::memory_order_relaxed);
  return jobs_ > 0 ? sum / jobs_ : 1.0;
}

int ScanProgress::current() const {
  for (int i = 0; i < jobs_; ++i) {
    const double f = done_[i].load(std::memory_order_relaxed);
    if (f > 0.0 && f < 1.0) return i;
  }
  return -1;
}

void ScanProgress::set(int job, double fraction) {
  // A run's first report is never 0, so that current() sees it as started.
  done_[job].store(fraction > 1e-9 ? fraction : 1e-9, std::memory_order_relaxed);
}

void run_jobs(const Settings& s, const std::vector<Job>& jobs, int threads, ScanProgress& progress,
              const std::function<void(int, const Result&)>& emit) {
  const int n = static_cast<int>(jobs.size());
  if (threads < 1) threads = 1;
  std::vector<std::optional<Result>> results(n);
  std::mutex lock;
  int next_out = 0;
  std::exception_ptr failure;
  std::atomic<bool> stop{false};
  std::atomic<int> next_job{0};

  auto one = [&](int j, Team& team) {
    Settings js = s;
    js.time_step = jobs[j].time_step;
    progress.set(j, 0.0);
    Result r = run_separation(js, jobs[j].separation, team, [&](double f) {
      if (stop.load(std::memory_order_relaxed)) throw std::runtime_error("stopped");
      progress.set(j, f);
    });
    std::lock_guard<std::mutex> guard(lock);
    results[j] = r;
    for (; next_out < n && results[next_out]; ++next_out) emit(next_out, *results[next_out]);
  };
  auto guarded = [&](int j, Team& team) {
    try {
      one(j, team);
    } catch (...) {
      std::lock_guard<std::mutex> guard(lock);
      if (!stop.exchange(true)) failure = std::current_exception();
    }
  };

  if (n >= threads) {
    // Whole runs on single threads, taken in order as threads come free.
    auto worker = [&] {
      Team team(1);
      for (int j; !stop.load() && (j = next_job.fetch_add(1)) < n;) guarded(j, team);
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t) helpers.emplace_back(worker);
    worker();
    for (std::thread& h : helpers) h.join();
  } else {
    // Fewer runs than threads: one run after the other, each on all threads, but with at least
    // kWalkersPerThread walkers per thread: a step of fewer costs less than the threads' meeting.
    Team team(threads_used(s, n, threads));
    for (int j = 0; j < n && !stop.load(); ++j) guarded(j, team);
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace qh2::dmc
