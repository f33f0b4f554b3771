// Lines wider than kOutlinedWidthLimit points. Drawn by outlines, a line 1000 points wide
// has 333 of them, each as long as the line, and every dash of a dashed line has its own:
// minutes of work for pixels that were set long before. Instead the band the outlines cover
// is filled row by row, device pixel rows on the pixel devices and rows 1.5 points apart
// (the spacing of the outlines) elsewhere, each row once however many pieces of the band
// cross it, so that the work follows the rows and pixels touched. The centre line and the
// outermost outline are drawn as before, so that the edge is the edge the outlines had.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "devices/driver.h"
#include "pen/thick_line.h"

namespace stylus {
namespace {

// A point in row coordinates: a along the rows, b across them.
struct BandPoint {
  double a, b;
};

// A convex piece of the band: the rectangle about a segment, or a bevel at a corner.
struct Piece {
  BandPoint p[4];
  int n;
};

// The part of the row at b that lies in a convex polygon: [lo, hi]; false when the row
// misses it.
bool row_range(const Piece& piece, double b, double& lo, double& hi) {
  lo = std::numeric_limits<double>::infinity();
  hi = -lo;
  for (int i = 0; i < piece.n; ++i) {
    const BandPoint& u = piece.p[i];
    const BandPoint& v = piece.p[(i + 1) % piece.n];
    if ((b < u.b && b < v.b) || (b > u.b && b > v.b)) continue;
    if (u.b == v.b) {
      lo = std::min({lo, u.a, v.a});
      hi = std::max({hi, u.a, v.a});
    } else {
      const double a = u.a + (b - u.b) * (v.a - u.a) / (v.b - u.b);
      lo = std::min(lo, a);
      hi = std::max(hi, a);
    }
  }
  return lo <= hi;
}

// The union of the spans of the rows first .. first + count - 1, gathered piece by piece.
// Each row keeps the widest run of overlapping spans as one interval; spans apart from it
// wait in a list that is merged at the end. Spans less than a row's spacing apart count as
// overlapping. A row whose interval spans the window is full; when every row is full the
// band covers the window.
class RowSpans {
 public:
  RowSpans(long first, long count, double lo, double hi, double gap)
      : first_(first), lo_(lo), hi_(hi), gap_(gap), rows_(static_cast<std::size_t>(count)) {}

  bool covered() const { return full_ == static_cast<long>(rows_.size()); }
  bool full(long row) const { return is_full(rows_[index(row)]); }

  // The span [a0, a1] of a row, held to the window.
  void add(long row, double a0, double a1) {
    a0 = std::max(a0, lo_);
    a1 = std::min(a1, hi_);
    if (!(a0 <= a1)) return;
    Interval& m = rows_[index(row)];
    if (m.lo > m.hi) {
      m = {a0, a1};
    } else if (is_full(m)) {
      return;
    } else if (a0 <= m.hi + gap_ && a1 >= m.lo - gap_) {
      m = {std::min(m.lo, a0), std::max(m.hi, a1)};
    } else if (a1 - a0 > m.hi - m.lo) {
      apart_.push_back({row, m.lo, m.hi});
      m = {a0, a1};
    } else {
      apart_.push_back({row, a0, a1});
      return;
    }
    if (is_full(m)) ++full_;
  }

  // Every merged span, row by row: span(row, lo, hi).
  template <class Span>
  void emit(Span&& span) {
    std::sort(apart_.begin(), apart_.end(), [](const Apart& p, const Apart& q) {
      return p.row != q.row ? p.row < q.row : p.lo < q.lo;
    });
    std::size_t next = 0;
    std::vector<Interval> row_spans;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      const long row = first_ + static_cast<long>(i);
      row_spans.clear();
      if (rows_[i].lo <= rows_[i].hi) row_spans.push_back(rows_[i]);
      for (; next < apart_.size() && apart_[next].row == row; ++next)
        row_spans.push_back({apart_[next].lo, apart_[next].hi});
      std::sort(row_spans.begin(), row_spans.end(),
                [](const Interval& p, const Interval& q) { return p.lo < q.lo; });
      for (std::size_t k = 0; k < row_spans.size();) {
        Interval m = row_spans[k++];
        while (k < row_spans.size() && row_spans[k].lo <= m.hi + gap_)
          m.hi = std::max(m.hi, row_spans[k++].hi);
        span(row, m.lo, m.hi);
      }
    }
  }

 private:
  struct Interval {
    double lo = 1.0, hi = 0.0;  // lo > hi: nothing yet
  };
  struct Apart {
    long row;
    double lo, hi;
  };
  std::size_t index(long row) const { return static_cast<std::size_t>(row - first_); }
  bool is_full(const Interval& m) const { return m.lo <= lo_ && m.hi >= hi_; }

  long first_;
  double lo_, hi_, gap_;
  std::vector<Interval> rows_;
  std::vector<Apart> apart_;
  long full_ = 0;
};

// The most rows a window may have for its bands to be filled: more than any window or
// raster has pixel rows.
constexpr double kMostRows = 65536.0;

}  // namespace

bool Stroker::band_is_cheaper(const float* x, const float* y, int count, int line_width) const {
  const double d = static_cast<double>(line_width) / 2.0;
  const bool along_x = rows_.along_x;
  const double wb0 = along_x ? window_.left : window_.top;
  const double wb1 = along_x ? window_.right : window_.bottom;
  const double window_rows = (wb1 - wb0) / rows_.step + 2.0;
  // More rows than any device has pixels (a page scaled past all measure): the outlines.
  if (!(window_rows <= kMostRows)) return false;
  const double diagonal = std::hypot(static_cast<double>(window_.right) - window_.left,
                                     static_cast<double>(window_.bottom) - window_.top);
  // A row costs about as much as clipping one outline segment, and about as much as setting
  // 40 of the pixels of an outline segment.
  const double per_point = rows_.pixels_per_point / 40.0;
  double rows = 0.0, segments = 0.0;
  for (int i = 0; i + 1 < count; ++i) {
    const double b0 = along_x ? x[i] : y[i], b1 = along_x ? x[i + 1] : y[i + 1];
    const double lo = std::max(std::min(b0, b1) - 1.5 * d, wb0);
    const double hi = std::min(std::max(b0, b1) + 1.5 * d, wb1);
    if (lo <= hi) rows += std::min(window_rows, (hi - lo) / rows_.step + 1.0);
    const double length =
        std::hypot(static_cast<double>(x[i + 1]) - x[i], static_cast<double>(y[i + 1]) - y[i]);
    segments += 1.0 + per_point * std::min(length + 2.0 * d, diagonal);
  }
  if (!std::isfinite(rows + segments)) return true;  // a point that is no place: no outline
  const double outlines = static_cast<double>((line_width + 1) / 3);
  return rows <= 2.0 * outlines * segments;
}

bool Stroker::wide_line(const float* x, const float* y, int count, int line_width,
                        const Directions& dir) {
  const double d = static_cast<double>(line_width) / 2.0;
  const bool along_x = rows_.along_x;
  const auto band_point = [along_x](double px, double py) {
    return along_x ? BandPoint{py, px} : BandPoint{px, py};
  };
  // The pieces, in the outlines' own geometry: each segment's rectangle reaches d to either
  // side and, at the ends of an open line (every end of a single segment), d beyond them;
  // a corner is filled by the bevels between the rectangles that meet there.
  const int last = count - 1;
  const bool closed =
      count > 2 && std::fabs(x[0] - x[last]) < 0.5f && std::fabs(y[0] - y[last]) < 0.5f;
  std::vector<Piece> pieces;
  pieces.reserve(static_cast<std::size_t>(3 * count));
  const auto offset = [&](int i) {
    const Direction r = dir(i, i + 1);
    return BandPoint{-d * r.s, -d * r.c};  // to the left, in page x and y
  };
  for (int i = 0; i < last; ++i) {
    const Direction r = dir(i, i + 1);
    const double tx = r.c, ty = -r.s;  // along the segment
    const double e0 = i == 0 && !closed ? d : 0.0, e1 = i == last - 1 && !closed ? d : 0.0;
    const BandPoint o = offset(i);
    const double x0 = x[i] - e0 * tx, y0 = y[i] - e0 * ty;
    const double x1 = x[i + 1] + e1 * tx, y1 = y[i + 1] + e1 * ty;
    pieces.push_back({{band_point(x0 + o.a, y0 + o.b), band_point(x1 + o.a, y1 + o.b),
                       band_point(x1 - o.a, y1 - o.b), band_point(x0 - o.a, y0 - o.b)},
                      4});
  }
  const auto bevels = [&](int corner, int before, int after) {
    const BandPoint p{x[corner], y[corner]}, u = offset(before), v = offset(after);
    for (double side : {1.0, -1.0}) {
      pieces.push_back({{band_point(p.a, p.b), band_point(p.a + side * u.a, p.b + side * u.b),
                         band_point(p.a + side * v.a, p.b + side * v.b)},
                        3});
    }
  };
  for (int j = 1; j < last; ++j) bevels(j, j - 1, j);
  if (closed) bevels(0, last - 1, 0);

  // The window in row coordinates, and its rows.
  const double wa0 = along_x ? window_.top : window_.left;
  const double wa1 = along_x ? window_.bottom : window_.right;
  const double wb0 = along_x ? window_.left : window_.top;
  const double wb1 = along_x ? window_.right : window_.bottom;
  // A row half a step beyond a border stands for the pixels at the border: it is taken at
  // the border, where the clipped outlines run.
  const double step = rows_.step;
  const auto whole = [](double k) { return static_cast<long>(std::clamp(k, -1e15, 1e15)); };
  const long first_row = whole(std::ceil((wb0 - rows_.origin) / step - 0.5));
  const long last_row = whole(std::floor((wb1 - rows_.origin) / step + 0.5));
  // The rows the band can reach.
  double b_lo = std::numeric_limits<double>::infinity(), b_hi = -b_lo;
  for (Piece& piece : pieces) {
    bool finite = true;
    for (int k = 0; k < piece.n; ++k) finite = finite && std::isfinite(piece.p[k].a + piece.p[k].b);
    if (!finite) {
      piece.n = 0;  // a piece that is not a place is not drawn, as its outline would be clipped
      continue;
    }
    for (int k = 0; k < piece.n; ++k) {
      b_lo = std::min(b_lo, piece.p[k].b);
      b_hi = std::max(b_hi, piece.p[k].b);
    }
  }
  const auto row_at = [&](long k) {
    return std::clamp(rows_.origin + static_cast<double>(k) * step, wb0, wb1);
  };
  // The first and the last row at or after, at or before b (b inside the window's rows).
  const auto first_at = [&](double b) {
    return std::max(first_row, whole(std::ceil((std::clamp(b, wb0, wb1) - rows_.origin) / step)));
  };
  const auto last_at = [&](double b) {
    return std::min(last_row, whole(std::floor((std::clamp(b, wb0, wb1) - rows_.origin) / step)));
  };
  // The border rows first and last: a band reaching the border reaches them.
  const bool reaches = b_lo <= wb1 && b_hi >= wb0;
  const long lo_row = !reaches ? 1 : b_lo <= wb0 ? first_row : first_at(b_lo);
  const long hi_row = !reaches ? 0 : b_hi >= wb1 ? last_row : last_at(b_hi);

  RowSpans spans(lo_row, std::max(0L, hi_row - lo_row + 1), wa0, wa1, step);
  if (lo_row <= hi_row) {
    for (const Piece& piece : pieces) {
      if (piece.n == 0) continue;
      double p_lo = piece.p[0].b, p_hi = p_lo, a_lo = piece.p[0].a, a_hi = a_lo;
      for (int k = 1; k < piece.n; ++k) {
        p_lo = std::min(p_lo, piece.p[k].b);
        p_hi = std::max(p_hi, piece.p[k].b);
        a_lo = std::min(a_lo, piece.p[k].a);
        a_hi = std::max(a_hi, piece.p[k].a);
      }
      if (a_hi < wa0 || a_lo > wa1 || p_hi < wb0 || p_lo > wb1) continue;
      const long k_end = std::min(hi_row, p_hi >= wb1 ? last_row : last_at(p_hi));
      for (long k = std::max(lo_row, p_lo <= wb0 ? first_row : first_at(p_lo)); k <= k_end; ++k) {
        if (spans.full(k)) continue;
        double a0, a1;
        if (row_range(piece, row_at(k), a0, a1)) spans.add(k, a0, a1);
      }
      if (spans.covered()) break;
    }
  }

  // A band that covers the whole window shows nothing but the window in its colour.
  const bool window_covered =
      first_row <= last_row && lo_row == first_row && hi_row == last_row && spans.covered();
  if (!window_covered) centre_line(x, y, count);
  // Each span from its start to its end, held inside the window in float as well.
  const auto page = [&](double a, double b, int pen) {
    float px = static_cast<float>(along_x ? b : a), py = static_cast<float>(along_x ? a : b);
    px = std::clamp(px, static_cast<float>(window_.left), static_cast<float>(window_.right));
    py = std::clamp(py, static_cast<float>(window_.top), static_cast<float>(window_.bottom));
    emit(px, py, pen);
  };
  spans.emit([&](long k, double a0, double a1) {
    const double b = row_at(k);
    page(a0, b, kPenMove);
    page(a1, b, kPenDraw);
  });
  if (window_covered) return true;
  const float edge = static_cast<float>(line_width) / 2.0f;
  outline(x, y, count, edge, edge, dir);
  return false;
}

}  // namespace stylus
