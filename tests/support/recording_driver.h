// A driver for tests that records every call it receives, in order, so that tests can
// check what the pen model, the colour and width routines and the session sent to it.
#pragma once

#include <memory>
#include <vector>

#include "devices/device_table.h"
#include "devices/driver.h"
#include "records/state.h"

struct DriverEvent {
  enum Kind { kStart, kPoint, kColor, kColorTable, kLineWidth, kFill, kPolygon, kFlush, kFinish };
  Kind kind;
  stylus::DevicePoint point{};  // kPoint
  int pen = 0;                  // kPoint
  int value = 0;                // kColor: ncol; kColorTable: kind; kLineWidth: width; kFill: ncol
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;             // kFill corners
  int table0 = 0, table255 = 0;                   // kColorTable: entries 0 and 255
  std::vector<stylus::DevicePoint> polygon = {};  // kPolygon
};

class RecordingDriver : public stylus::Driver {
 public:
  // Every driver made by recording_factory logs here; cleared by the test.
  static std::vector<DriverEvent>& log() {
    static std::vector<DriverEvent> events;
    return events;
  }
  // What finish() returns.
  static int& finish_result() {
    static int result = 1;
    return result;
  }

  // The page scale stays what the test left in the plot state.
  stylus::DriverStart start(const stylus::DriverSetup& setup) override {
    log().push_back({DriverEvent::kStart});
    return {stylus::g_xvray.page_scale, setup.options};
  }
  void point(const stylus::DevicePoint& p, int pen) override {
    DriverEvent e{DriverEvent::kPoint};
    e.point = p;
    e.pen = pen;
    log().push_back(e);
  }
  void color(const stylus::ColorChange& change) override {
    DriverEvent e{DriverEvent::kColor};
    e.value = change.ncol;
    log().push_back(e);
  }
  void color_table(int kind, const int table[256]) override {
    DriverEvent e{DriverEvent::kColorTable};
    e.value = kind;
    e.table0 = table[0];
    e.table255 = table[255];
    log().push_back(e);
  }
  void line_width(int width) override {
    DriverEvent e{DriverEvent::kLineWidth};
    e.value = width;
    log().push_back(e);
  }
  void fill(int x1, int y1, int x2, int y2, int ncol, stylus::RgbColor /*rgb*/) override {
    DriverEvent e{DriverEvent::kFill};
    e.x1 = x1, e.y1 = y1, e.x2 = x2, e.y2 = y2, e.value = ncol;
    log().push_back(e);
  }
  // Whether polygon() takes a polygon as a device with a fill of its own (true), or
  // refuses it so that the pen model covers it with strokes (false, the default).
  static bool& fills_polygons() {
    static bool fills = false;
    return fills;
  }
  bool polygon(const stylus::DevicePoint* points, int n) override {
    if (!fills_polygons()) return false;
    DriverEvent e{DriverEvent::kPolygon};
    e.polygon.assign(points, points + n);
    log().push_back(e);
    return true;
  }
  void flush() override { log().push_back({DriverEvent::kFlush}); }
  int finish(const stylus::DriverEnd& /*end*/) override {
    log().push_back({DriverEvent::kFinish});
    return finish_result();
  }

  // The points received, in order.
  static std::vector<DriverEvent> points() {
    std::vector<DriverEvent> out;
    for (const DriverEvent& e : log())
      if (e.kind == DriverEvent::kPoint) out.push_back(e);
    return out;
  }
};

// A factory for stylus::set_driver_factory: a recording driver for every device.
inline std::unique_ptr<stylus::Driver> recording_factory(int /*device*/) {
  return std::make_unique<RecordingDriver>();
}
