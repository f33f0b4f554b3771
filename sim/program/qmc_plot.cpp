// The run's picture, drawn with the library's symbols, error bars and legend: the run's values
// as filled circles with vertical bars, the exact values as open squares around them, the
// textbook run's curve as a line. Points that lie outside the axis system are left out here
// rather than handed to curve or errbar, which would report each on standard output.
#include "sim/program/qmc_plot.h"

#include <algorithm>
#include <cmath>

#include "stylus.h"

namespace {

// Sizes in page points (1/10 mm on the default page): the circle of a run value fits inside
// the square of an exact value of the same size, so agreement shows as a ring of two.
constexpr int kSymbol = 30;
constexpr int kCap = 20;
constexpr int kLegendHeight = 32;
constexpr int kRunSymbol = 14;   // filled circle
constexpr int kExactSymbol = 1;  // square

// In single precision, as the library compares a point with its axis scaling.
bool inside(const PictureAxes& a, float x, float y) {
  return x >= 0 && x <= a.x_max && y >= a.y_min && y <= a.y_max;
}

struct Series {
  std::vector<float> x, y, error;
  void add(const EnergyPoint& e) {
    x.push_back(static_cast<float>(e.separation));
    y.push_back(static_cast<float>(e.energy));
    // A bar the library would refuse (not a number, negative) is no bar at all.
    error.push_back(e.error >= 0 && std::isfinite(e.error) ? static_cast<float>(e.error) : 0.0f);
  }
  int size() const { return static_cast<int>(x.size()); }
};

Series points_inside(const PictureAxes& a, const std::vector<EnergyPoint>& points) {
  Series s;
  for (const EnergyPoint& e : points) {
    if (inside(a, static_cast<float>(e.separation), static_cast<float>(e.energy))) s.add(e);
  }
  return s;
}

// The textbook curve cut where it leaves the axis system, piece by piece, each piece ending
// on the frame.
std::vector<Series> clipped_curve(const PictureAxes& a, const ScanPoints& s) {
  std::vector<Series> pieces;
  Series piece;
  auto flush = [&] {
    if (piece.size() >= 2) pieces.push_back(piece);
    piece = Series{};
  };
  for (int i = 0; i < s.npts; ++i) {
    const float xi = s.xsep[i], yi = s.yene[i];
    const bool in = inside(a, xi, yi);
    if (i > 0) {
      const float xp = s.xsep[i - 1], yp = s.yene[i - 1];
      const bool was_in = inside(a, xp, yp);
      if (in != was_in) {
        // Where the segment crosses the bottom or top of the frame.
        const float edge = (in ? yp : yi) > a.y_max ? a.y_max : a.y_min;
        const float t = (edge - yp) / (yi - yp);
        piece.add({xp + t * (xi - xp), edge, 0});
        if (!in) flush();
      }
    }
    if (in) piece.add({xi, yi, 0});
  }
  flush();
  return pieces;
}

}  // namespace

PictureAxes picture_axes(const QmcPicture& p) {
  double x_max = 3.0;
  for (const EnergyPoint& e : p.run) {
    x_max = std::max(x_max, std::ceil(2.0 * e.separation - 1e-6) / 2.0);
  }
  double lo = 1e300;
  for (const EnergyPoint& e : p.run) lo = std::min(lo, e.energy - e.error);
  for (const EnergyPoint& e : p.exact) {
    if (e.separation <= x_max) lo = std::min(lo, e.energy);
  }
  if (!(lo < 1e300)) lo = -32.0;
  const double y_min = std::floor(lo - 0.3);
  double hi = y_min;
  for (const EnergyPoint& e : p.run) hi = std::max(hi, e.energy + e.error);
  const double y_max = std::min(std::max(std::ceil(hi + 0.3), y_min + 2.0), y_min + 10.0);
  const double span = y_max - y_min;
  return {static_cast<float>(x_max), x_max > 6 ? 1.0f : 0.5f, static_cast<float>(y_min),
          static_cast<float>(y_max), span > 5 ? 1.0f : 0.5f};
}

void plot_qmc_picture(const QmcPicture& p, const std::string& device) {
  const PictureAxes a = picture_axes(p);
  const Series run = points_inside(a, p.run);
  const Series exact = points_inside(a, p.exact);
  const std::vector<Series> textbook = clipped_curve(a, p.textbook);

  metafl(device.c_str());
  disini();
  height(40);
  hname(50);
  labdig(a.x_step < 1 ? 1 : 0, "X");
  labdig(a.y_step < 1 ? 1 : 0, "Y");
  name("Separation (A)", "X");
  name("Energy (eV)", "Y");
  graf(0.0f, a.x_max, 0.0f, a.x_step, a.y_min, a.y_max, a.y_min, a.y_step);

  // Every curve from here on is a line of the legend, in the order drawn; a part with nothing
  // inside the axis system has no line. The textbook curve's later pieces come after the
  // legend's last line and are not shown in it.
  const int lines = (run.size() > 0) + (exact.size() > 0) + !textbook.empty();
  if (lines > 0) legini(lines);
  int line = 0;
  hsymbl(kSymbol);
  errcap(kCap);
  if (run.size() > 0) {
    color("yellow");
    marker(kRunSymbol);
    incmrk(-1);
    curve(run.x.data(), run.y.data(), run.size());
    errbar(run.x.data(), run.y.data(), run.error.data(), run.error.data(), run.size());
    leglin((p.method + ", this run").c_str(), ++line);
  }
  if (exact.size() > 0) {
    color("cyan");
    marker(kExactSymbol);
    incmrk(-1);
    curve(exact.x.data(), exact.y.data(), exact.size());
    leglin("exact (Pachucki 2010)", ++line);
  }
  if (!textbook.empty()) {
    // The textbook run, as qh2 draws it without options but thinner.
    color("red");
    linwid(2);
    incmrk(0);
    for (const Series& s : textbook) curve(s.x.data(), s.y.data(), s.size());
    linwid(1);
    leglin("qh2 without options", ++line);
  }

  // The legend in the lower right corner of the axis system, where the curves of H2 leave
  // room: at large separations the energies lie well above the minimum.
  if (lines > 0) {
    color("fore");
    height(kLegendHeight);
    legend("LR");
  }
  disfin();
}
