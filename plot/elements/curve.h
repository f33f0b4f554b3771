// Curves in the axis system: the per-curve bookkeeping (attribute cycle, legend
// records) and the steps of curve.
#pragma once

namespace stylus {

inline constexpr int kMaxLegendEntries = 30;
// Plot symbols and their default size, and the default width of error-bar caps (points).
inline constexpr int kSymbolCount = 21;
inline constexpr int kDefaultSymbolSize = 35;
inline constexpr int kDefaultCapWidth = 30;

// Curve settings and counters, process-wide.
struct CurveRecord {
  int range_check;      // 1 report points outside the axis scaling
  int log_check_off;    // 1 skip the positivity check on logarithmic axes
  int legend_pending;   // 1 record the next curve as a legend entry
  int legend_entry;     // number of the next legend entry, 1..30
  int attr_index;       // position 1..30 in the attribute cycles
  int curve_count;      // curves since the last attribute change
  int curves_per_attr;  // after this many curves attr_index advances
  int attr_mode;        // 0 none, 1 colour cycle, 2 line-style cycle, 3 both
  int symbol_incr;      // plot symbols every that many points; 0 none, < 0 symbols only
  int symbol_number, n_symbols;
  int shaded_curve;     // the curve is shaded (legend record)
  int parallel_copies;  // copies of each curve drawn side by side
  int legend_off;       // 1 record no legend entries
  int symbol_size;      // of the plot symbols, in points
  int cap_width;        // of the caps of error bars, in points; 0 none
};

// Characters of one legend text.
inline constexpr int kLegendTextMax = 132;

// The legend entries recorded by curve, and the legend that legini starts: its number of
// lines and the text of each (leglin).
struct LegendRecord {
  int line_style[kMaxLegendEntries];
  int symbol[kMaxLegendEntries];
  int copies[kMaxLegendEntries];
  int color[kMaxLegendEntries];
  int pattern[kMaxLegendEntries];
  int n_legend;
  int n_lines;  // 0: no legend started
  char text[kMaxLegendEntries][kLegendTextMax + 1];
};

extern CurveRecord g_curve;
extern LegendRecord g_legend;

// Resets the curve attributes at session start: curve count, attribute position and
// legend flag 1, symbol number 0.
void resatt();
// Puts the remaining curve settings and the legend to their session-start defaults.
void reset_curve_settings();

// Reports each point outside the axis scaling on the message stream.
void chkscl(const float* x, const float* y, int n);
// Warning 27 when a logarithmic axis gets a value <= 0; returns the number of axes at
// fault.
int jqqlog(const float* x, const float* y, int n);
// Advances the attribute cycle after a curve.
void chnatt();
// Records the attributes of the curve being drawn as legend entry `entry` (1-based).
void slegnd(int entry);
// One user point converted and handed to the pen model as a move or a draw.
void rlstrt(float x, float y);
void rlconn(float x, float y);

}  // namespace stylus
