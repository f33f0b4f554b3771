// The PostScript devices "POST" and "PSCL": the header and prolog, the path writer with
// its 50-point buffer, and the driver that turns colour, width, fill and end requests
// into PostScript tokens.
#pragma once

#include <cstdio>
#include <memory>

#include "devices/driver.h"

namespace stylus {

inline constexpr int kPsPathSize = 50;
// Device units per plot point on the PostScript devices (13/7).
inline constexpr float kPsPageScale = 1.8571428f;

// The path buffer of drwpsc. It persists from one session to the next.
struct PsPathRecord {
  int x[kPsPathSize];
  int y[kPsPathSize];
  int count;           // points in the buffer
  int last_x, last_y;  // last point of the previous path
};
extern PsPathRecord g_pspath;

// The sheet scale s (sheet units per page point) and s / page_scale, the factor of the
// header's scale line, for the current page.
struct PsSheetScale {
  float sheet;
  float factor;
};
PsSheetScale postscript_sheet_scale();

// Writes the header and prolog to stream (nothing when it is null).
void inipsc(std::FILE* stream);
// One device point (x, y in device units) with pen 3 move, 2 draw, 999 flush.
void drwpsc(float x, float y, int pen);

std::unique_ptr<Driver> make_postscript_driver(int device);

}  // namespace stylus
