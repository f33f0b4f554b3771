// The run's picture, drawn with curve, messag and the page positions of values: symbols are
// small outlines of page-point size and error bars short segments, both made into curves in
// user coordinates. Points that lie outside the axis system are left out here rather than
// handed to curve, which would report each on standard output.
#include "sim/program/qmc_plot.h"

#include <algorithm>
#include <cmath>

#include "stylus.h"

namespace {

// Sizes in page points (1/10 mm on the default page).
constexpr float kSymbol = 18.0f;
constexpr float kCap = 8.0f;

struct Frame {
  PictureAxes axes;
  float px0, px1, py0, py1;  // page positions of x = 0, x_max, y_min, y_max

  bool inside(double x, double y) const {
    return x >= 0 && x <= axes.x_max && y >= axes.y_min && y <= axes.y_max;
  }
  // The user coordinates of a page offset (dx, dy) from the user point (x, y).
  float ux(float x, float dx) const { return x + dx * axes.x_max / (px1 - px0); }
  float uy(float y, float dy) const { return y + dy * (axes.y_max - axes.y_min) / (py1 - py0); }
};

void polyline(const Frame& f, std::vector<float> x, std::vector<float> y) {
  for (std::size_t i = 0; i < x.size(); ++i) {
    x[i] = std::clamp(x[i], 0.0f, f.axes.x_max);
    y[i] = std::clamp(y[i], f.axes.y_min, f.axes.y_max);
  }
  curve(x.data(), y.data(), static_cast<int>(x.size()));
}

// A square outline (the exact values) or a cross (the run's values) centred on (x, y).
void square(const Frame& f, float x, float y, float size) {
  const float h = 0.5f * size;
  const float x0 = f.ux(x, -h), x1 = f.ux(x, h), y0 = f.uy(y, h), y1 = f.uy(y, -h);
  polyline(f, {x0, x1, x1, x0, x0}, {y0, y0, y1, y1, y0});
}
void cross(const Frame& f, float x, float y, float size) {
  const float h = 0.5f * size;
  polyline(f, {f.ux(x, -h), f.ux(x, h)}, {f.uy(y, h), f.uy(y, -h)});
  polyline(f, {f.ux(x, -h), f.ux(x, h)}, {f.uy(y, -h), f.uy(y, h)});
}
void error_bar(const Frame& f, float x, float y, float error) {
  if (!(error > 0)) return;
  const float lo = y - error, hi = y + error;
  polyline(f, {x, x}, {lo, hi});
  polyline(f, {f.ux(x, -kCap), f.ux(x, kCap)}, {lo, lo});
  polyline(f, {f.ux(x, -kCap), f.ux(x, kCap)}, {hi, hi});
}

// The textbook curve cut where it leaves the axis system, piece by piece, each piece ending
// on the frame.
void clipped_curve(const Frame& f, const ScanPoints& s) {
  std::vector<float> x, y;
  auto flush = [&] {
    if (x.size() >= 2) curve(x.data(), y.data(), static_cast<int>(x.size()));
    x.clear();
    y.clear();
  };
  for (int i = 0; i < s.npts; ++i) {
    const float xi = s.xsep[i], yi = s.yene[i];
    const bool in = f.inside(xi, yi);
    if (i > 0) {
      const float xp = s.xsep[i - 1], yp = s.yene[i - 1];
      const bool was_in = f.inside(xp, yp);
      if (in != was_in) {
        // Where the segment crosses the bottom or top of the frame.
        const float edge = (in ? yp : yi) > f.axes.y_max ? f.axes.y_max : f.axes.y_min;
        const float t = (edge - yp) / (yi - yp);
        x.push_back(xp + t * (xi - xp));
        y.push_back(edge);
        if (!in) flush();
      }
    }
    if (in) {
      x.push_back(xi);
      y.push_back(yi);
    }
  }
  flush();
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
  Frame f;
  f.axes = picture_axes(p);
  metafl(device.c_str());
  disini();
  height(40);
  hname(50);
  labdig(f.axes.x_step < 1 ? 1 : 0, "X");
  labdig(f.axes.y_step < 1 ? 1 : 0, "Y");
  name("Separation (A)", "X");
  name("Energy (eV)", "Y");
  graf(0.0f, f.axes.x_max, 0.0f, f.axes.x_step, f.axes.y_min, f.axes.y_max, f.axes.y_min,
       f.axes.y_step);
  f.px0 = xposn(0.0f);
  f.px1 = xposn(f.axes.x_max);
  f.py0 = yposn(f.axes.y_min);
  f.py1 = yposn(f.axes.y_max);

  // The textbook run, as qh2 draws it without options but thinner.
  color("red");
  linwid(2);
  clipped_curve(f, p.textbook);
  linwid(1);
  color("cyan");
  for (const EnergyPoint& e : p.exact) {
    if (f.inside(e.separation, e.energy)) square(f, e.separation, e.energy, 2.0f * kSymbol);
  }
  color("yellow");
  for (const EnergyPoint& e : p.run) {
    if (!f.inside(e.separation, e.energy)) continue;
    error_bar(f, e.separation, e.energy, e.error);
    cross(f, e.separation, e.energy, kSymbol);
  }

  // The legend, in the lower right corner of the axis system, where the curves of H2 leave
  // room: at large separations the energies lie well above the minimum.
  const std::string entries[3] = {p.method + ", this run", "exact (Pachucki 2010)",
                                  "qh2 without options"};
  height(32);
  int width = 0;
  for (const std::string& e : entries) width = std::max(width, nlmess(e.c_str()));
  const float x_text = f.px1 - static_cast<float>(width) - 40.0f, line = 50.0f;
  float y_text = f.py0 - 3.0f * line - 30.0f;
  for (int i = 0; i < 3; ++i, y_text += line) {
    const float lx = f.axes.x_max * (x_text - 80.0f - f.px0) / (f.px1 - f.px0);
    const float ly =
        f.axes.y_min + (y_text + 20.0f - f.py0) * (f.axes.y_max - f.axes.y_min) / (f.py1 - f.py0);
    if (i == 0) {
      color("yellow");
      cross(f, lx, ly, kSymbol);
    } else if (i == 1) {
      color("cyan");
      square(f, lx, ly, 2.0f * kSymbol);
    } else {
      color("red");
      linwid(2);
      polyline(f, {f.ux(lx, -30.0f), f.ux(lx, 30.0f)}, {ly, ly});
      linwid(1);
    }
    color("fore");
    messag(entries[i].c_str(), static_cast<int>(x_text), static_cast<int>(y_text));
  }
  disfin();
}
