// The diffusion engine's speed: walker-steps per second of one separation per instruction set,
// on one thread and on all, and the whole 59-separation diffusion scan of qh2 at its default
// target error as a process, start to exit; fails unless the instruction sets and thread counts
// gave the same bits.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "sim/dmc/dispatch.h"
#include "sim/dmc/run.h"

namespace dmc = qh2::dmc;
using qh2::VectorIsa;

namespace {

// One diffusion separation at the default time step: 2000 walkers, 1000 production steps after
// 200 of equilibration, beta fixed (its optimisation is not what is timed here).
dmc::Settings separation_settings() {
  dmc::Settings s;
  s.time_step = 0.0004;
  s.walkers = 2000;
  s.steps = 1000;
  s.equilibration = 200;
  s.beta = 1.0;
  return s;
}
constexpr double kSeparation = 0.741915;

struct Timed {
  std::string name;
  VectorIsa isa;
  int threads;
  dmc::Result result;
  double walker_steps_per_second = 0;
};
std::vector<Timed> timed;

void separation(benchmark::State& state, Timed* t) {
  dmc::limit_isa(t->isa);
  const dmc::Settings s = separation_settings();
  dmc::Team team(t->threads);
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    t->result = dmc::run_separation(s, kSeparation, team, nullptr);
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - t0;
    // Walkers moved: the variational start, the equilibration and production (the population
    // is about the target throughout).
    const double moves = double(s.walkers) * (dmc::kVariationalSteps + s.equilibration) +
                         t->result.population * s.steps;
    t->walker_steps_per_second = moves / wall.count();
    state.counters["walker-steps/s"] = t->walker_steps_per_second;
  }
  dmc::limit_isa(VectorIsa::avx512);
}

// qh2's whole diffusion scan as a process: its wall clock and processor time.
double scan_seconds = 0, scan_cpu_seconds = 0;
bool scan_ok = false;
void whole_scan(benchmark::State& state) {
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
      if (!std::freopen("/dev/null", "w", stdout)) _exit(127);
      execl(QH2_PROGRAM, QH2_PROGRAM, "--method", "dmc", "--no-picture", "--quiet",
            static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    rusage usage{};
    scan_ok = pid > 0 && wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status) &&
              WEXITSTATUS(status) == 0;
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - t0;
    state.SetIterationTime(wall.count());
    scan_seconds = wall.count();
    scan_cpu_seconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                       1e-6 * (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int all = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  timed.reserve(6);
  for (VectorIsa isa : {VectorIsa::avx512, VectorIsa::avx2, VectorIsa::baseline}) {
    if (!qh2::vector_isa_available(isa)) continue;
    for (int threads : {1, all}) {
      if (threads == all && all == 1) continue;
      timed.push_back({std::string("dmc separation/") + qh2::vector_isa_name(isa) +
                           "/threads:" + std::to_string(threads),
                       isa,
                       threads,
                       {}});
    }
  }
  if (all == 1) {
    for (Timed& t : timed) t.threads = 1;
  }
  for (Timed& t : timed) {
    benchmark::RegisterBenchmark(t.name.c_str(), separation, &t)
        ->Iterations(3)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("dmc scan, 59 separations, 10 meV, qh2 process", whole_scan)
      ->Iterations(1)
      ->UseManualTime()
      ->Unit(benchmark::kSecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  std::printf("\nOne diffusion separation (2000 walkers, 1400 steps), walker-steps per second:\n");
  bool same = true;
  for (const Timed& t : timed) {
    if (t.walker_steps_per_second == 0) continue;
    std::printf("  %-36s %8.2f million\n", t.name.c_str(), t.walker_steps_per_second * 1e-6);
    same = same && t.result.energy == timed.front().result.energy &&
           t.result.error == timed.front().result.error;
  }
  if (scan_seconds > 0) {
    std::printf(
        "qh2 --method dmc (59 separations to 10 meV, %d threads): %.1f s wall clock, "
        "%.1f s processor time%s\n",
        all, scan_seconds, scan_cpu_seconds, scan_ok ? "" : " (FAILED)");
  }
  std::printf("identical results on every instruction set and thread count: %s\n",
              same ? "yes" : "NO");
  return same && (scan_seconds == 0 || scan_ok) ? 0 : 1;
}
