// Benchmarks of the plotting library: the throughput of one curve of a million points
// through the whole vector path into every file device and the headless screen, and calls
// whose work must stay bounded whatever their arguments (wide dashed lines, a text and an
// axis system thousands of points wide, a dashed curve far outside the axis system, axis
// systems with absurd ends). Each case is a whole session in a scratch folder.
//
// PLOT_BENCH_KEEP=DIR keeps the file of the last session of every throughput case in DIR
// (named after the device and the width, dated by a fixed clock), so that the files of two
// builds can be compared byte for byte.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "devices/screen_driver.h"
#include "records/protocol.h"
#include "api/reset.h"
#include "records/state.h"
#include "stylus.h"

namespace {

namespace fs = std::filesystem;

// A scratch folder for the files of the sessions, emptied after every session.
class Scratch {
 public:
  Scratch() {
    std::string tmpl = (fs::temp_directory_path() / "stylus_bench_XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
    dir_ = tmpl;
    old_ = fs::current_path();
    fs::current_path(dir_);
  }
  ~Scratch() {
    fs::current_path(old_);
    fs::remove_all(dir_);
  }
  // Bytes of all files the session left.
  long bytes() const {
    long n = 0;
    for (const auto& e : fs::directory_iterator(dir_))
      if (e.is_regular_file()) n += static_cast<long>(e.file_size());
    return n;
  }
  // Moves the session's files to keep/<stem>.<their extension>.
  void keep(const fs::path& keep, const std::string& stem) {
    fs::create_directories(keep);
    for (const auto& e : fs::directory_iterator(dir_))
      fs::rename(e.path(), keep / (stem + e.path().extension().string()));
  }
  void empty() {
    for (const auto& e : fs::directory_iterator(dir_)) fs::remove(e);
  }

 private:
  fs::path dir_, old_;
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

// --- throughput: one curve of a million points ------------------------------------------

constexpr int kCurvePoints = 1000000;

// The curve runs across the whole x axis and swings over the whole y axis twenty times,
// its crests a little beyond the axis ends, so that about an eighth of it is clipped.
struct Curve {
  std::vector<float> x, y;
  Curve() : x(kCurvePoints), y(kCurvePoints) {
    for (int i = 0; i < kCurvePoints; ++i) {
      const double t = static_cast<double>(i) / (kCurvePoints - 1);
      x[i] = static_cast<float>(t);
      y[i] = static_cast<float>(1.02 * std::sin(2.0 * std::numbers::pi * 20.0 * t));
    }
  }
};
const Curve& curve_data() {
  static const Curve c;
  return c;
}

std::tm bench_time() {
  std::tm t{};
  t.tm_mday = 1;
  t.tm_mon = 0;
  t.tm_year = 2027 - 1900;
  return t;
}

// One session on `keyword`: the axis system, then the curve in red with line width `width`.
void curve_session(const char* keyword, int width, bool screen) {
  stylus::reset_process();
  stylus::set_local_time_source(bench_time);
  // The screen device draws off-screen, as without a display, but keeps no picture file.
  if (screen) stylus::set_screen_window_system(stylus::make_headless_window_system());
  metafl(keyword);
  disini();
  stylus::g_ivray.msg_unit = 0;  // no protocol and no report of the clipped points
  name("Time", "X");
  name("Signal", "Y");
  labdig(1, "XY");
  graf(0.0f, 1.0f, 0.0f, 0.1f, -1.0f, 1.0f, -1.0f, 0.5f);
  linwid(width);
  color("RED");
  const Curve& c = curve_data();
  curve(c.x.data(), c.y.data(), kCurvePoints);
  disfin();
}

void BM_Curve(benchmark::State& state, const char* keyword, int width) {
  const bool screen = std::string(keyword) == "CONS";
  curve_data();
  Scratch scratch;
  long bytes = 0;
  for (auto _ : state) {
    curve_session(keyword, width, screen);
    state.PauseTiming();
    bytes = scratch.bytes();
    scratch.empty();
    state.ResumeTiming();
  }
  if (const char* keep = std::getenv("PLOT_BENCH_KEEP")) {
    curve_session(keyword, width, screen);
    std::string stem = keyword;
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    scratch.keep(keep, stem + "_w" + std::to_string(width));
  }
  state.counters["points/s"] = benchmark::Counter(
      static_cast<double>(kCurvePoints) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
  state.counters["bytes"] = static_cast<double>(bytes);
}

// The file devices (the raster device as PNG) and the screen.
constexpr const char* kCurveDevices[] = {"POST", "CGM ", "GKSL", "HPGL", "KYOC", "JAVA",
                                         "PNG ", "WMF ", "SVG ", "PDF ", "CONS"};

[[maybe_unused]] const bool kCurvesRegistered = [] {
  for (const char* keyword : kCurveDevices) {
    std::string name = keyword;
    while (name.back() == ' ') name.pop_back();
    for (int width : {1, 4}) {
      benchmark::RegisterBenchmark(
          ("BM_Curve1M/" + name + "/width:" + std::to_string(width)).c_str(), BM_Curve, keyword,
          width)
          ->Unit(benchmark::kMillisecond);
    }
  }
  return true;
}();

// --- wide lines ---------------------------------------------------------------------------

// One session on `keyword` (the screen off-screen) with messages off: body draws in it.
template <class Body>
void device_session(const char* keyword, Body&& body) {
  stylus::reset_process();
  if (std::string(keyword) == "CONS") {
    stylus::set_screen_window_system(stylus::make_headless_window_system());
  }
  metafl(keyword);
  disini();
  stylus::g_ivray.msg_unit = 0;
  body();
  disfin();
}

// The calls that took seconds to minutes when every outline of every dash was drawn: a
// 250-point curve that leaves the axis system, dashes of a point, 1000 points wide; a
// 400-character text 10000 points wide, chain-dashed; an axis system drawn 10000 points
// wide with dashes; a dense curve of 10^5 points 32000 points wide. A whole session each.
enum class Wide { kDashedCurve, kDashedText, kDashedGraf, kDenseCurve };

void wide_case(Wide what) {
  static const std::vector<float> x250 = [] {
    std::vector<float> v(250);
    for (int i = 0; i < 250; ++i) v[i] = static_cast<float>(i) * 0.04f;
    return v;
  }();
  static const std::vector<float> y250 = [] {
    std::vector<float> v(250);
    for (int i = 0; i < 250; ++i) v[i] = 5.0f + 20.0f * std::sin(static_cast<float>(i) * 0.1f);
    return v;
  }();
  const Curve& c = curve_data();
  switch (what) {
    case Wide::kDashedCurve: {
      graf(0.0f, 10.0f, 0.0f, 1.0f, 0.0f, 10.0f, 0.0f, 1.0f);
      linwid(1000);
      const int pattern[] = {1, 1};
      myline(pattern, 2);
      curve(x250.data(), y250.data(), 250);
      break;
    }
    case Wide::kDashedText: {
      linwid(10000);
      chndsh();
      std::string text(400, ' ');
      for (int i = 0; i < 400; ++i) text[i] = static_cast<char>('A' + i % 26);
      messag(text.c_str(), 10, 500);
      break;
    }
    case Wide::kDashedGraf:
      linwid(10000);
      dash();
      graf(0.0f, 10.0f, 0.0f, 1.0f, 0.0f, 10.0f, 0.0f, 1.0f);
      break;
    case Wide::kDenseCurve:
      graf(0.0f, 1.0f, 0.0f, 0.1f, -1.0f, 1.0f, -1.0f, 0.5f);
      linwid(32000);
      curve(c.x.data(), c.y.data(), 100000);
      break;
  }
}

void BM_Wide(benchmark::State& state, const char* keyword, Wide what) {
  curve_data();
  Scratch scratch;
  for (auto _ : state) {
    device_session(keyword, [what] { wide_case(what); });
    state.PauseTiming();
    scratch.empty();
    state.ResumeTiming();
  }
}

[[maybe_unused]] const bool kWideRegistered = [] {
  const std::pair<const char*, Wide> cases[] = {{"BM_WideDashedCurve", Wide::kDashedCurve},
                                                {"BM_WideDashedText", Wide::kDashedText},
                                                {"BM_WideDashedGraf", Wide::kDashedGraf},
                                                {"BM_WideDenseCurve", Wide::kDenseCurve}};
  for (const auto& [name, what] : cases) {
    for (const char* keyword : kCurveDevices) {
      std::string device = keyword;
      while (device.back() == ' ') device.pop_back();
      benchmark::RegisterBenchmark((std::string(name) + "/" + device).c_str(), BM_Wide, keyword,
                                   what)
          ->Unit(benchmark::kMillisecond);
    }
  }
  return true;
}();

// --- bounded work -------------------------------------------------------------------------

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
