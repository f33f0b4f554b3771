// Times one separation and the whole 59-point scan, with the sequential transcription
// of the simulation and with the engine on one thread and on all threads, in one run,
// and prints the speed-up of the engine over the transcription (wall clock).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "sim/driver.h"
#include "sim/engine.h"
#include "sim/ensemble.h"
#include "sim/parallel.h"
#include "sim/records.h"
#include "sim/wavefunction.h"

namespace {

// The separation timed alone, its stream position (the first separation's) and the
// results the runs produced, checked against each other at the end.
constexpr float kSeparation = 0.7f;
float separation_result[3];
std::string scan_result[3];

float transcription_separation() {
  qh2_startup();
  pparam.sep = kSeparation;
  pcalc.shalf = kSeparation * 0.5f;
  pcalc.a = apar(const_.a0, pparam.sep);
  std::vector<float> xw(6 * nparam.nwalk), wt(nparam.nwalk);
  float xc[6], etmp;
  intens(xw.data(), wt.data(), xc);
  for (int i = 0; i <= nparam.neq; ++i) tstep(xw.data(), wt.data(), etmp);
  return etmp;
}

void separation_transcription(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(separation_result[0] = transcription_separation());
}

void separation_engine(benchmark::State& state, int slot) {
  qh2_startup();
  const qh2::RunParams p = qh2::params_from_records();
  const int threads = static_cast<int>(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(separation_result[slot] =
                                 qh2::separation_energy(p, kSeparation, 76453456u, threads));
  }
}

void scan_transcription(benchmark::State& state) {
  for (auto _ : state) {
    std::ostringstream out;
    qh2_startup();
    reference_scan(out);
    scan_result[0] = out.str();
  }
}

void scan_engine(benchmark::State& state, int slot) {
  const int threads = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::ostringstream out;
    qh2_startup();
    qh2::engine_scan(out, kScanPoints, threads);
    scan_result[slot] = out.str();
  }
}

// Keeps the mean wall-clock time of every run by name, for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (!r.error_occurred) times_[r.benchmark_name()] = r.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double time(const std::string& name) const {
    const auto it = times_.find(name);
    return it == times_.end() ? 0.0 : it->second;
  }

 private:
  std::map<std::string, double> times_;
};

void print_ratio(const RatioReporter& r, const char* what, const std::string& base,
                 const std::string& one, const std::string& all, int threads) {
  const double t = r.time(base), t1 = r.time(one), tn = r.time(all);
  if (t == 0 || t1 == 0 || tn == 0) return;
  std::printf("%-15s engine, 1 thread: %6.1fx   engine, %d threads: %6.1fx\n", what, t / t1,
              threads, t / tn);
}

}  // namespace

int main(int argc, char** argv) {
  const int all = qh2::hardware_threads();
  const std::string n = std::to_string(all);
  benchmark::RegisterBenchmark("separation/transcription", separation_transcription)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(8)
      ->UseRealTime();
  benchmark::RegisterBenchmark("separation/engine", separation_engine, 1)
      ->Arg(1)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(60)
      ->UseRealTime();
  benchmark::RegisterBenchmark("separation/engine", separation_engine, 2)
      ->Arg(all)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(60)
      ->UseRealTime();
  benchmark::RegisterBenchmark("scan/transcription", scan_transcription)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(1)
      ->UseRealTime();
  benchmark::RegisterBenchmark("scan/engine", scan_engine, 1)
      ->Arg(1)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(3)
      ->UseRealTime();
  benchmark::RegisterBenchmark("scan/engine", scan_engine, 2)
      ->Arg(all)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(5)
      ->UseRealTime();

  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\nSpeed-up over the transcription (wall clock, this run):\n");
  print_ratio(reporter, "one separation", "separation/transcription/iterations:8/real_time",
              "separation/engine/1/iterations:60/real_time",
              "separation/engine/" + n + "/iterations:60/real_time", all);
  print_ratio(reporter, "whole scan", "scan/transcription/iterations:1/real_time",
              "scan/engine/1/iterations:3/real_time",
              "scan/engine/" + n + "/iterations:5/real_time", all);
  const bool same_separation =
      separation_result[0] == separation_result[1] && separation_result[0] == separation_result[2];
  const bool same_scan = !scan_result[0].empty() && scan_result[0] == scan_result[1] &&
                         scan_result[0] == scan_result[2];
  std::printf("identical results: one separation %s, whole scan %s\n",
              same_separation ? "yes" : "NO", same_scan ? "yes" : "NO");
  return same_separation && same_scan ? 0 : 1;
}
