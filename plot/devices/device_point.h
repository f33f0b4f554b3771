// The device-point formulas of the device classes: how a page point (points, origin at
// the upper left, y down) becomes a device point. Pure functions of the page geometry, so
// that every class can be checked even where its driver is not built.
#pragma once

#include "devices/driver.h"

namespace stylus {

// What the formulas read from the plot state.
struct PageGeometry {
  float scale;          // page_scale: device units per point
  int nx, ny;           // page_nx, page_ny (W and H)
  int rotation;         // page_rotation: 1 turned by 90 degrees (2 PostScript option)
  float meta_offset_x;  // added to x for GKSL and CGM
};

// r(v): v + 0.5 truncated towards zero. The sum is taken in double so that a float just
// below k + 0.5 is not rounded up to k + 1 by the addition itself.
inline int round_point(float v) {
  return static_cast<int>(static_cast<double>(v) + 0.5);
}

// Screen windows, terminals, Windows metafile, raster images, applet.
DevicePoint screen_point(float x, float y, const PageGeometry& g);
// GKSL and CGM: y up, meta_offset_x added.
DevicePoint metafile_point(float x, float y, const PageGeometry& g);
// Kyocera printer file.
DevicePoint kyocera_point(float x, float y, const PageGeometry& g);
// HPGL plotter file: y up.
DevicePoint hpgl_point(float x, float y, const PageGeometry& g);
// HPGL on a fixed sheet (HPA4 to HPA1): a portrait page is turned onto the sheet.
DevicePoint hpgl_sheet_point(float x, float y, const PageGeometry& g);
// PostScript: a landscape page is turned onto the portrait sheet.
DevicePoint postscript_point(float x, float y, const PageGeometry& g);
// SVG and PDF: the page point times the scale, y down, never turned (the files show the
// page in its own orientation).
DevicePoint vector_point(float x, float y, const PageGeometry& g);

// The formula of a class; kNone gives the point unscaled.
DevicePoint device_point(DeviceClass cls, float x, float y, const PageGeometry& g);

}  // namespace stylus
