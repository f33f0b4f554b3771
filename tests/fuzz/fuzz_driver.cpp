// The plain fuzz driver: replays the inputs of a corpus (files or folders of files), then
// runs a number of random call sequences from fixed seeds, each from a fresh library. A
// crash or sanitizer report ends it; the input that caused it is saved beside the working
// folder as crash-<name>.bin first. See README.md.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "call_sequence.h"

namespace {

// The input being run, kept where a dying process can still write it out.
std::vector<std::uint8_t> g_input;
char g_crash_path[4096];

void save_input() {
  const int fd = ::open(g_crash_path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return;
  std::size_t done = 0;
  while (done < g_input.size()) {
    const ssize_t n = ::write(fd, g_input.data() + done, g_input.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  static const char note[] = "stylus_fuzz: the failing input is in ";
  (void)!::write(2, note, sizeof note - 1);
  (void)!::write(2, g_crash_path, std::strlen(g_crash_path));
  (void)!::write(2, "\n", 1);
}

void on_signal(int sig) {
  save_input();
  ::signal(sig, SIG_DFL);
  ::raise(sig);
}

std::uint64_t splitmix(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// A random input that mostly opens a session on some device first (so that the calls after
// it draw), with the program's axes now and then, followed by random calls.
void make_input(std::uint64_t& state, long max_bytes) {
  const std::size_t size = 1 + splitmix(state) % static_cast<std::uint64_t>(max_bytes);
  g_input.clear();
  if (splitmix(state) % 8 != 0) {
    const auto op = [](const char* name) {
      return static_cast<std::uint8_t>(fuzz::routine_index(name));
    };
    g_input.push_back(op("metafl"));
    g_input.push_back(
        fuzz::device_keyword_selector(splitmix(state) % fuzz::device_keyword_count()));
    g_input.push_back(op("disini"));
    if (splitmix(state) % 3 != 0) g_input.push_back(op("graf (the program's axes)"));
  }
  while (g_input.size() < size) g_input.push_back(static_cast<std::uint8_t>(splitmix(state)));
}

// Where a failing input goes: beside the scratch folder, named after the input.
void name_crash_file(const std::filesystem::path& dir, const std::string& name) {
  std::snprintf(g_crash_path, sizeof g_crash_path, "%s/crash-%s.bin", dir.c_str(), name.c_str());
}

// A run longer than this is taken for a hang: the library promises work bounded by what
// its result shows, whatever the line widths.
double g_max_seconds = 600.0;

std::size_t run(const std::filesystem::path& out_dir, const std::string& name) {
  name_crash_file(out_dir, name);
  const auto start = std::chrono::steady_clock::now();
  const std::size_t calls = fuzz::run_calls(g_input.data(), g_input.size());
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (s > g_max_seconds) {
    std::fprintf(stderr, "stylus_fuzz: %s ran %.1f s\n", name.c_str(), s);
    save_input();
    std::exit(1);
  }
  return calls;
}

int usage() {
  std::fprintf(stderr,
               "usage: stylus_fuzz [--sequences N] [--seed S] [--max-bytes B] [--max-seconds T]\n"
               "                   [CORPUS...]\n"
               "  replays every file of CORPUS (files or folders), then runs N random call\n"
               "  sequences (default 1000) of up to B bytes (default 512) from seeds S, S+1, ...;\n"
               "  an input that runs longer than T seconds (default 600) counts as a failure\n");
  return 2;
}

}  // namespace

extern "C" void __sanitizer_set_death_callback(void (*callback)(void)) __attribute__((weak));

int main(int argc, char** argv) {
  long sequences = 1000, max_bytes = 512;
  std::uint64_t first_seed = 1;
  std::vector<std::filesystem::path> corpus;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if ((a == "--sequences" || a == "--seed" || a == "--max-bytes" || a == "--max-seconds") &&
        i + 1 < argc) {
      const long v = std::strtol(argv[++i], nullptr, 10);
      if (a == "--max-seconds") g_max_seconds = static_cast<double>(v);
      if (a == "--sequences") sequences = v;
      if (a == "--seed") first_seed = static_cast<std::uint64_t>(v);
      if (a == "--max-bytes") max_bytes = v < 1 ? 1 : v;
    } else if (!a.empty() && a[0] == '-') {
      return usage();
    } else {
      corpus.push_back(std::filesystem::absolute(a));
    }
  }
  const std::filesystem::path out_dir = std::filesystem::current_path();
  if (__sanitizer_set_death_callback != nullptr) __sanitizer_set_death_callback(save_input);
  for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) ::signal(sig, on_signal);
  fuzz::prepare_process();

  const auto start = std::chrono::steady_clock::now();
  std::size_t inputs = 0, calls = 0;
  for (const std::filesystem::path& root : corpus) {
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(root)) {
      for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        if (e.is_regular_file()) files.push_back(e.path());
    } else {
      files.push_back(root);
    }
    std::sort(files.begin(), files.end());
    for (const std::filesystem::path& f : files) {
      std::ifstream in(f, std::ios::binary);
      g_input.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      calls += run(out_dir, f.filename().string());
      ++inputs;
    }
  }
  for (long k = 0; k < sequences; ++k) {
    std::uint64_t state = first_seed + static_cast<std::uint64_t>(k);
    make_input(state, max_bytes);
    calls += run(out_dir, "seed-" + std::to_string(first_seed + static_cast<std::uint64_t>(k)));
    ++inputs;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::fprintf(stderr, "stylus_fuzz: %zu inputs, %zu calls, %.1f s, no failure\n", inputs, calls,
               seconds);
  return 0;
}
