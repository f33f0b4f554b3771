// The vector-file device "SVG": a standalone SVG 1.1 picture of the whole page for web
// pages and documents.
// The SVG writer: the page in page points (viewBox) at its real size in millimetres, white
// paper, then one group per pen with one path per polyline and filled polygons as paths of
// their own, written into the session's output as the session draws (the output is put in
// place only when complete).
#include <cstdio>
#include <string>

#include "devices/device_table.h"
#include "devices/vector_driver.h"
#include "records/state.h"
#include "stylus.h"

namespace stylus {
namespace {

class SvgDriver final : public VectorDriver {
 protected:
  void header(const DriverSetup& setup) override;
  void begin_group(const VectorPen& pen) override;
  void end_group() override { put("</g>\n"); }
  void begin_polyline(float x, float y) override {
    path_ = "<path d=\"M";
    append_point(x, y);
    segments_ = 0;
  }
  // Lines after the first need no command letter of their own.
  void line_to(float x, float y) override {
    path_ += segments_++ == 0 ? 'L' : ' ';
    append_point(x, y);
  }
  void end_polyline() override {
    path_ += "\"/>\n";
    put(path_);
  }
  void footer() override { put("</g>\n</svg>\n"); }
  void fill_polygon(const DevicePoint* points, int n, RgbColor rgb) override {
    path_ = "<path d=\"M";
    for (int i = 0; i < n; ++i) {
      if (i > 0) path_ += i == 1 ? 'L' : ' ';
      append_point(points[i].x, points[i].y);
    }
    char fill[48];
    std::snprintf(fill, sizeof fill, "Z\" fill=\"#%02x%02x%02x\" stroke=\"none\"/>\n", rgb.r & 0xff,
                  rgb.g & 0xff, rgb.b & 0xff);
    path_ += fill;
    put(path_);
  }

 private:
  void append_point(float x, float y) {
    append_vector_number(path_, x);
    path_ += ' ';
    append_vector_number(path_, y);
  }
  void put(const std::string& text) {
    if (out() != nullptr) out()->put(text);
  }

  std::string path_;
  int segments_ = 0;
};

void SvgDriver::header(const DriverSetup& setup) {
  // The largest coordinates are page_nx and page_ny, and a page point is 0.1 mm: DA4L
  // (2969 x 2099) is 2970 x 2100 points, 297 x 210 mm.
  const int nx = setup.page.nx + 1, ny = setup.page.ny + 1;
  const std::string w = std::to_string(nx), h = std::to_string(ny);
  char creator[96];
  std::snprintf(creator, sizeof creator, "<!-- STYLUS %.1f, %s %s -->\n",
                static_cast<double>(setup.version), setup.date.c_str(), setup.time.c_str());
  put("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
  put(creator);
  put("<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
      vector_number(nx / 10.0) + "mm\" height=\"" + vector_number(ny / 10.0) +
      "mm\" viewBox=\"0 0 " + w + ' ' + h + "\">\n");
  put("<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"#ffffff\"/>\n");
  // The caps and joins of the PostScript device: projecting square caps, bevel joins.
  put("<g fill=\"none\" stroke-linecap=\"square\" stroke-linejoin=\"bevel\">\n");
}

void SvgDriver::begin_group(const VectorPen& pen) {
  char text[80];
  std::snprintf(text, sizeof text, "<g stroke=\"#%02x%02x%02x\" stroke-width=\"%s\">\n",
                pen.rgb.r & 0xff, pen.rgb.g & 0xff, pen.rgb.b & 0xff,
                vector_number(pen.width).c_str());
  put(text);
}

}  // namespace

std::unique_ptr<Driver> make_svg_driver(const DeviceRecord& /*device*/, DriverMemory& /*memory*/) {
  return std::make_unique<SvgDriver>();
}

}  // namespace stylus
