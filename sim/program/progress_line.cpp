// The progress line's thread and text.
#include "sim/program/progress_line.h"

#include <cmath>

ProgressLine::ProgressLine(const qh2::dmc::ScanProgress& progress,
                           std::function<std::string(int)> label, int jobs, bool show,
                           std::FILE* out)
    : progress_(progress),
      label_(std::move(label)),
      jobs_(jobs),
      out_(out),
      start_(std::chrono::steady_clock::now()) {
  if (!show) return;
  thread_ = std::thread([this] {
    std::unique_lock<std::mutex> guard(lock_);
    while (!wake_.wait_for(guard, std::chrono::milliseconds(500), [this] { return stopping_; })) {
      draw();
    }
  });
}

ProgressLine::~ProgressLine() {
  stop();
}

std::string ProgressLine::text(const std::string& label, int job, int jobs, double fraction,
                               double elapsed) {
  char line[160];
  const int percent = static_cast<int>(std::floor(100.0 * fraction));
  std::string left = "";
  if (fraction > 0.005 && fraction < 1.0) {
    const long seconds = std::lround(elapsed * (1.0 - fraction) / fraction);
    char t[48];
    std::snprintf(t, sizeof t, ", %ld:%02ld left", seconds / 60, seconds % 60);
    left = t;
  }
  std::snprintf(line, sizeof line, "qh2: %s (%d of %d), %d%% done%s", label.c_str(), job + 1, jobs,
                percent, left.c_str());
  return line;
}

void ProgressLine::draw() {
  const int job = progress_.current();
  if (job < 0) return;
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const std::string line = text(label_(job), job, jobs_, progress_.fraction(), elapsed);
  std::fprintf(out_, "\r%s\033[K", line.c_str());
  std::fflush(out_);
  shown_ = true;
}

void ProgressLine::clear() {
  std::lock_guard<std::mutex> guard(lock_);
  if (shown_) {
    std::fputs("\r\033[K", out_);
    std::fflush(out_);
    shown_ = false;
  }
}

void ProgressLine::stop() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  clear();
}
