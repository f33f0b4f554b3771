// A run of device points written as one path (PostScript) or polyline (CGM).
#pragma once

#include "devices/device_table.h"
#include "devices/driver.h"

namespace stylus {

// Up to N points of type T. A draw appends its point, starting an empty run at the point
// where the last run ended; a full run, a move and a flush write the pending run. After a
// move or a full run the next run starts at that point; after a flush the run is empty and
// its last point is kept in `last` (which outlives the session, so the next session's
// first draw starts where this one stopped).
template <class T, int N>
class PathBuffer {
 public:
  explicit PathBuffer(PathEnd& last) : last_(last) {}

  // x and y are the point already converted to T; write() writes points()[0, count()).
  template <class Write>
  void add(T x, T y, int pen, Write&& write) {
    if (pen == kPenDraw) {
      if (count_ == 0) {
        x_[0] = static_cast<T>(last_.x);
        y_[0] = static_cast<T>(last_.y);
        count_ = 1;
      }
      x_[count_] = x;
      y_[count_] = y;
      ++count_;
      if (count_ < N) return;
    }
    if (count_ > 0) write();
    if (pen == kPenFlush) {
      if (count_ > 0) {
        last_.x = x_[count_ - 1];
        last_.y = y_[count_ - 1];
      }
      count_ = 0;
    } else {
      count_ = 1;
      x_[0] = x;
      y_[0] = y;
    }
  }

  int count() const { return count_; }
  T x(int i) const { return x_[i]; }
  T y(int i) const { return y_[i]; }

 private:
  PathEnd& last_;
  T x_[N] = {};
  T y_[N] = {};
  int count_ = 0;
};

}  // namespace stylus
