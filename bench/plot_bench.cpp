// Benchmarks of the plotting library: calls whose work must stay bounded whatever their
// arguments (a dashed curve far outside the axis system, axis systems with absurd ends),
// each a whole session on the PostScript device in a scratch folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "state/state.h"
#include "stylus.h"

namespace {

// A scratch folder for the files of the sessions, emptied after every session.
class Scratch {
 public:
  Scratch() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "stylus_bench_XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
    dir_ = tmpl;
    old_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
  }
  ~Scratch() {
    std::filesystem::current_path(old_);
    std::filesystem::remove_all(dir_);
  }
  void empty() {
    for (const auto& e : std::filesystem::directory_iterator(dir_)) std::filesystem::remove(e);
  }

 private:
  std::filesystem::path dir_, old_;
};

// A PostScript session with messages off; body draws inside it.
template <class Body>
void session(Body&& body) {
  stylus::reset_process();
  metafl("POST");
  disini();
  stylus::g_ivray.msg_unit = 0;
  body();
  disfin();
}

void BM_DashedCurveFarOutsideTheAxes(benchmark::State& state) {
  Scratch scratch;
  std::vector<float> x(100), y(100);
  for (int i = 0; i < 100; ++i) {
    x[i] = i % 2 == 0 ? -1e7f : 1e7f;
    y[i] = i % 3 == 0 ? 1e30f : -5.0f;
  }
  const int pattern[] = {1, 1};
  for (auto _ : state) {
    session([&] {
      graf(0.0f, 3.0f, 0.0f, 0.5f, -32.5f, -23.0f, -32.5f, 1.0f);
      myline(pattern, 2);
      curve(x.data(), y.data(), 100);
    });
    scratch.empty();
  }
}
BENCHMARK(BM_DashedCurveFarOutsideTheAxes)->Unit(benchmark::kMillisecond);

void BM_GrafWithAnInfiniteEnd(benchmark::State& state) {
  Scratch scratch;
  const float inf = std::numeric_limits<float>::infinity();
  for (auto _ : state) {
    session([&] { graf(0.0f, inf, 0.0f, 0.5f, -32.5f, -23.0f, -32.5f, 1.0f); });
    scratch.empty();
  }
}
BENCHMARK(BM_GrafWithAnInfiniteEnd)->Unit(benchmark::kMillisecond);

void BM_GrafOverTheWholeFloatRange(benchmark::State& state) {
  Scratch scratch;
  for (auto _ : state) {
    session([&] { graf(-3e38f, 3e38f, -3e38f, 1.0f, -1e30f, 1e30f, -1e30f, 1e-3f); });
    scratch.empty();
  }
}
BENCHMARK(BM_GrafOverTheWholeFloatRange)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
