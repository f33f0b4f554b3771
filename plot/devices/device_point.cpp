// The device-point formulas of the device classes (see device_point.h).
#include "devices/device_point.h"

namespace stylus {
namespace {

DevicePoint make_point(float x, float y) {
  return {x, y, round_point(x), round_point(y)};
}

}  // namespace

DevicePoint screen_point(float x, float y, const PageGeometry& g) {
  const float s = g.scale;
  if (g.rotation == 1) return make_point(y * s, (static_cast<float>(g.nx) - x) * s);
  return make_point(x * s, y * s);
}

DevicePoint metafile_point(float x, float y, const PageGeometry& g) {
  const float s = g.scale;
  if (g.rotation == 1) return make_point((y + g.meta_offset_x) * s, x * s);
  return make_point((x + g.meta_offset_x) * s, (static_cast<float>(g.ny) - y) * s);
}

DevicePoint kyocera_point(float x, float y, const PageGeometry& g) {
  return make_point(x * g.scale, y * g.scale);
}

DevicePoint hpgl_point(float x, float y, const PageGeometry& g) {
  const float s = g.scale;
  if (g.rotation == 1) return make_point(y * s, x * s);
  return make_point(x * s, (static_cast<float>(g.ny) - y) * s);
}

DevicePoint hpgl_sheet_point(float x, float y, const PageGeometry& g) {
  if (g.ny < g.nx) return hpgl_point(x, y, g);
  const float s = g.scale;
  return make_point((static_cast<float>(g.ny) - y) * s, (static_cast<float>(g.nx) - x) * s);
}

DevicePoint postscript_point(float x, float y, const PageGeometry& g) {
  const float s = g.scale;
  if (g.ny >= g.nx || g.rotation == 2) {
    return make_point(x * s, (static_cast<float>(g.ny) - y) * s);
  }
  return make_point(y * s, x * s);
}

DevicePoint vector_point(float x, float y, const PageGeometry& g) {
  return make_point(x * g.scale, y * g.scale);
}

DevicePoint device_point(DeviceClass cls, float x, float y, const PageGeometry& g) {
  switch (cls) {
    case DeviceClass::kScreen:
    case DeviceClass::kTerminal:
    case DeviceClass::kWmf:
    case DeviceClass::kRaster:
    case DeviceClass::kJava:
      return screen_point(x, y, g);
    case DeviceClass::kGksl:
    case DeviceClass::kCgm:
      return metafile_point(x, y, g);
    case DeviceClass::kKyocera:
      return kyocera_point(x, y, g);
    case DeviceClass::kHpgl:
      return hpgl_point(x, y, g);
    case DeviceClass::kHpglSheet:
      return hpgl_sheet_point(x, y, g);
    case DeviceClass::kPostScript:
      return postscript_point(x, y, g);
    case DeviceClass::kSvg:
    case DeviceClass::kPdf:
      return vector_point(x, y, g);
    case DeviceClass::kNone:
      break;
  }
  return make_point(x, y);
}

}  // namespace stylus
