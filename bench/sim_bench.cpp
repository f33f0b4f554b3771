// Times the whole qh2 run as a process (start to exit without a display: 59 result lines,
// plot and protocol) against the plain sequential program of the same routines, and the
// engine's scan in process per instruction set; fails unless every run printed the same.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "sim/engine/dispatch.h"
#include "sim/engine/engine.h"
#include "sim/engine/parallel.h"
#include "sim/program/driver.h"
#include "sim/reference/records.h"

extern char** environ;

namespace {

using qh2::VectorIsa;
using qh2::reference::nparam;
using qh2::reference::pcalc;
using qh2::reference::pcalc_t;

// A program run as a whole process, its times and what it printed.
struct Program {
  Program(const char* l, const char* p, int n) : label(l), path(p), runs(n) {}
  const char* label;
  const char* path;
  int runs;
  std::vector<double> ms, cpu_ms;  // wall clock; processor time of all its threads
  std::string out;
  bool exited_cleanly = true;
};

Program programs[] = {{"qh2", QH2_PROGRAM, 40},
                      {"qh2 held to AVX2", QH2_AVX2_PROGRAM, 40},
                      {"plain sequential program", QH2_PLAIN_PROGRAM, 2}};

std::string g_folder;  // where the programs run: they may write files there

// Runs the program in g_folder with DISPLAY unset, its standard output read through a
// pipe and its standard error discarded; true when it exits with status 0. cpu_ms
// receives the processor time it used (user and system).
bool run_program(const char* path, std::string& out, double& cpu_ms) {
  std::vector<char*> env;
  for (char** e = environ; *e; ++e) {
    if (std::strncmp(*e, "DISPLAY=", 8) != 0) env.push_back(*e);
  }
  env.push_back(nullptr);
  int fd[2];
  if (pipe(fd) != 0) return false;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fd[1], 1);
    close(fd[0]);
    close(fd[1]);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 2);
    if (chdir(g_folder.c_str()) != 0) _exit(127);
    char* argv[] = {const_cast<char*>(path), nullptr};
    execve(path, argv, env.data());
    _exit(127);
  }
  close(fd[1]);
  out.clear();
  char buf[1 << 14];
  for (ssize_t n; (n = read(fd[0], buf, sizeof buf)) > 0;) out.append(buf, n);
  close(fd[0]);
  int status = 0;
  rusage usage{};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return false;
  cpu_ms = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-3;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void whole_run(benchmark::State& state, Program* prog) {
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    double cpu_ms = 0;
    prog->exited_cleanly &= run_program(prog->path, prog->out, cpu_ms);
    const std::chrono::duration<double> t = std::chrono::steady_clock::now() - t0;
    state.SetIterationTime(t.count());
    prog->ms.push_back(t.count() * 1e3);
    prog->cpu_ms.push_back(cpu_ms);
  }
}

// The engine's scan in process, with the kernels held to `isa`.
struct InProcess {
  std::string name;
  VectorIsa isa;
  int threads;
  std::string lines;
};
std::vector<InProcess> scans;

void scan(benchmark::State& state, InProcess* s) {
  qh2::limit_vector_isa(s->isa);
  for (auto _ : state) {
    std::ostringstream out;
    qh2_startup();
    qh2::engine_scan(out, kScanPoints, s->threads);
    s->lines = out.str();
  }
  qh2::limit_vector_isa(VectorIsa::avx512);
}

// One separation whose walkers move (drift and diffusion on), through the full
// trajectories: the energies of the instruction sets are compared at the end.
std::vector<float> moving_results;
void moving_separation(benchmark::State& state, VectorIsa isa, std::size_t slot) {
  qh2::limit_vector_isa(isa);
  qh2_startup();
  nparam.tau = 1.0e-3f;
  pcalc.dscale = 0.02f;
  pcalc.sigma = 0.15f;
  const qh2::RunParams p = qh2::params_from_records();
  pcalc = pcalc_t{};
  for (auto _ : state) {
    moving_results[slot] = qh2::separation_energy(p, 0.7f, 76453456u, qh2::hardware_threads());
  }
  qh2::limit_vector_isa(VectorIsa::avx512);
}

std::string result_lines(const std::string& out) {
  std::size_t at = 0;
  for (int i = 0; i < kScanPoints && at != std::string::npos; ++i) {
    at = out.find('\n', at);
    if (at != std::string::npos) ++at;
  }
  return at == std::string::npos ? out : out.substr(0, at);
}

// The output without the protocol's date and time line.
std::string without_date(const std::string& out) {
  std::istringstream in(out);
  std::string line, kept;
  while (std::getline(in, line)) {
    if (line.find("Date    :") == std::string::npos) kept += line + "\n";
  }
  return kept;
}

double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The kernels lane_kernels chooses when held to `limit`.
qh2::LaneKernels kernels_for(VectorIsa limit) {
  qh2::limit_vector_isa(limit);
  const qh2::LaneKernels k = qh2::lane_kernels();
  qh2::limit_vector_isa(VectorIsa::avx512);
  return k;
}

void print_run(const char* label, const Program& prog, const Program& plain) {
  const double ms = median(prog.ms), cpu = median(prog.cpu_ms), plain_ms = median(plain.ms);
  if (ms <= 0) return;
  std::printf("  %-44s %9.1f ms (processor time %7.1f ms)", label, ms, cpu);
  if (&prog != &plain && plain_ms > 0) std::printf("   %5.0fx", plain_ms / ms);
  std::printf("\n");
}

void print_lanes(const qh2::LaneKernels& k) {
  std::printf(
      "  %s kernels: %d doubles per vector; walks of %d separations side by side, "
      "weights of %d\n",
      qh2::vector_isa_name(k.isa), k.width, k.walks, k.separations);
}

}  // namespace

int main(int argc, char** argv) {
  char folder[] = "/tmp/qh2_bench.XXXXXX";
  if (!mkdtemp(folder)) {
    std::perror("mkdtemp");
    return 1;
  }
  g_folder = folder;
  const int all = qh2::hardware_threads();

  for (Program& prog : programs) {
    benchmark::RegisterBenchmark((std::string("whole run/") + prog.label).c_str(), whole_run, &prog)
        ->Iterations(prog.runs)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  }
  const VectorIsa isas[] = {VectorIsa::avx512, VectorIsa::avx2, VectorIsa::baseline};
  scans.reserve(6);
  for (VectorIsa isa : isas) {
    if (!qh2::vector_isa_available(isa)) continue;
    for (int threads : {1, all}) {
      if (threads == 1 && all == 1 && !scans.empty() && scans.back().isa == isa) continue;
      scans.push_back({std::string("scan in process/") + qh2::vector_isa_name(isa) +
                           "/threads:" + std::to_string(threads),
                       isa, threads, ""});
    }
  }
  for (InProcess& s : scans) {
    benchmark::RegisterBenchmark(s.name.c_str(), scan, &s)
        ->Iterations(20)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
  }
  for (VectorIsa isa : isas) {
    if (!qh2::vector_isa_available(isa)) continue;
    const std::size_t slot = moving_results.size();
    moving_results.push_back(0.0f);
    benchmark::RegisterBenchmark(
        (std::string("moving walkers, one separation/") + qh2::vector_isa_name(isa)).c_str(),
        moving_separation, isa, slot)
        ->Iterations(5)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
  }

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(g_folder);

  const Program& fast = programs[0];
  const Program& avx2 = programs[1];
  const Program& plain = programs[2];
  const qh2::LaneKernels best = kernels_for(VectorIsa::avx512), held = kernels_for(VectorIsa::avx2);
  std::printf(
      "\nWhole run without a display, process start to exit (median of %d, %d and %d "
      "runs):\n",
      plain.runs, fast.runs, avx2.runs);
  print_run("plain sequential program, 1 thread", plain, plain);
  char label[128];
  std::snprintf(label, sizeof label, "qh2, %s kernels, %d threads", qh2::vector_isa_name(best.isa),
                all);
  print_run(label, fast, plain);
  std::snprintf(label, sizeof label, "qh2 held to %s, %d threads", qh2::vector_isa_name(held.isa),
                all);
  print_run(label, avx2, plain);
  print_lanes(best);
  if (held.isa != best.isa) print_lanes(held);

  // Every run must have printed the same 59 result lines as the plain program (or, when a
  // filter left it out, as the first program that ran); the programs the same output
  // apart from the protocol's date and time.
  const Program* reference = nullptr;
  for (const Program* prog : {&plain, &fast, &avx2}) {
    if (!reference && !prog->ms.empty()) reference = prog;
  }
  bool same = true;
  const std::string lines = reference ? result_lines(reference->out) : "";
  for (const Program& prog : programs) {
    if (prog.ms.empty()) continue;
    const bool ok = prog.exited_cleanly && result_lines(prog.out) == lines &&
                    without_date(prog.out) == without_date(reference->out);
    if (!ok) std::printf("output of %s differs from %s's\n", prog.label, reference->label);
    same = same && ok;
  }
  for (const InProcess& s : scans) {
    if (s.lines.empty()) continue;
    const bool ok = reference ? s.lines == lines : s.lines == scans.front().lines;
    if (!ok) std::printf("result lines of %s differ\n", s.name.c_str());
    same = same && ok;
  }
  for (float e : moving_results) same = same && e == moving_results[0];
  std::printf("identical results (59 lines of every program and scan, moving walkers): %s\n",
              same ? "yes" : "NO");
  return same ? 0 : 1;
}
