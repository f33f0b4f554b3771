// The Windows metafile recorder (see wmf_recorder.h). Every number is little-endian; sizes
// count 16-bit words. Coordinates are 16-bit in this format, so they are held to that range
// rather than wrapped around to the other side of the picture.
#include "devices/wmf_recorder.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "devices/byte_order.h"

namespace stylus {
namespace {

constexpr int kRecordHeaderWords = 3;  // size (2 words) and function number
constexpr std::uint16_t kPsSolid = 0;
constexpr std::uint16_t kBsSolid = 0;

}  // namespace

void WmfRecorder::pass_on() {
  if (out_ == nullptr || records_.size() < kHeldBytes) return;
  out_->put(records_);
  passed_on_ += records_.size();
  records_.clear();
}

void WmfRecorder::begin(WmfFunction function, int n) {
  pass_on();
  const std::uint32_t words = kRecordHeaderWords + static_cast<std::uint32_t>(n);
  max_record_ = std::max(max_record_, words);
  put_u32_le(records_, words);
  put_u16_le(records_, function);
}

void WmfRecorder::put_coord(int v) {
  put_u16_le(records_, static_cast<std::uint16_t>(std::clamp(v, -32768, 32767)));
}

void WmfRecorder::put_color(RgbColor c) {
  records_.push_back(static_cast<char>(c.r & 0xFF));
  records_.push_back(static_cast<char>(c.g & 0xFF));
  records_.push_back(static_cast<char>(c.b & 0xFF));
  records_.push_back('\0');
}

int WmfRecorder::create(Kind kind) {
  const auto free_slot = std::find(objects_.begin(), objects_.end(), Kind::kFree);
  if (free_slot != objects_.end()) {
    *free_slot = kind;
    return static_cast<int>(free_slot - objects_.begin());
  }
  objects_.push_back(kind);
  return static_cast<int>(objects_.size()) - 1;
}

void WmfRecorder::set_map_mode(int mode) {
  begin(kWmfSetMapMode, 1);
  put_u16_le(records_, static_cast<std::uint16_t>(mode));
}

// The format stores y before x.
void WmfRecorder::set_window_org(int x, int y) {
  begin(kWmfSetWindowOrg, 2);
  put_coord(y);
  put_coord(x);
}

void WmfRecorder::set_window_ext(int width, int height) {
  begin(kWmfSetWindowExt, 2);
  put_coord(height);
  put_coord(width);
}

void WmfRecorder::set_text_color(RgbColor c) {
  begin(kWmfSetTextColor, 2);
  put_color(c);
}

int WmfRecorder::create_pen(RgbColor c) {
  begin(kWmfCreatePenIndirect, 5);
  put_u16_le(records_, kPsSolid);
  put_coord(1);  // width as a point (1, 0)
  put_coord(0);
  put_color(c);
  return create(Kind::kPen);
}

int WmfRecorder::create_brush(RgbColor c) {
  begin(kWmfCreateBrushIndirect, 4);
  put_u16_le(records_, kBsSolid);
  put_color(c);
  put_u16_le(records_, 0);  // hatch, unused by a solid brush
  return create(Kind::kBrush);
}

int WmfRecorder::select_object(int index) {
  if (index < 0 || index >= static_cast<int>(objects_.size())) return kDefaultObject;
  const Kind kind = objects_[static_cast<std::size_t>(index)];
  if (kind == Kind::kFree) return kDefaultObject;
  begin(kWmfSelectObject, 1);
  put_u16_le(records_, static_cast<std::uint16_t>(index));
  int& selected = kind == Kind::kPen ? selected_pen_ : selected_brush_;
  const int replaced = selected;
  selected = index;
  return replaced;
}

void WmfRecorder::delete_object(int index) {
  if (index < 0 || index >= static_cast<int>(objects_.size())) return;
  if (objects_[static_cast<std::size_t>(index)] == Kind::kFree) return;
  begin(kWmfDeleteObject, 1);
  put_u16_le(records_, static_cast<std::uint16_t>(index));
  objects_[static_cast<std::size_t>(index)] = Kind::kFree;
  if (selected_pen_ == index) selected_pen_ = kDefaultObject;
  if (selected_brush_ == index) selected_brush_ = kDefaultObject;
}

// A record of two coordinates, the bulk of a drawing: put together whole, then appended.
void WmfRecorder::point_record(WmfFunction function, int x, int y) {
  constexpr std::uint32_t kWords = kRecordHeaderWords + 2;
  pass_on();
  max_record_ = std::max(max_record_, kWords);
  const auto coord = [](int v) { return static_cast<std::uint16_t>(std::clamp(v, -32768, 32767)); };
  char record[2 * kWords];
  put_u32_le(record, kWords);
  put_u16_le(record + 4, function);
  put_u16_le(record + 6, coord(y));
  put_u16_le(record + 8, coord(x));
  records_.append(record, sizeof record);
}

void WmfRecorder::move_to(int x, int y) {
  point_record(kWmfMoveTo, x, y);
}

void WmfRecorder::line_to(int x, int y) {
  point_record(kWmfLineTo, x, y);
}

// The points of a polygon are stored x before y.
void WmfRecorder::polygon(const int* x, const int* y, int n) {
  begin(kWmfPolygon, 1 + 2 * n);
  put_u16_le(records_, static_cast<std::uint16_t>(n));
  for (int i = 0; i < n; ++i) {
    put_coord(x[i]);
    put_coord(y[i]);
  }
}

void WmfRecorder::pat_blt(int x, int y, int w, int h, std::uint32_t rop) {
  begin(kWmfPatBlt, 6);
  put_u32_le(records_, rop);
  put_coord(h);
  put_coord(w);
  put_coord(y);
  put_coord(x);
}

std::string WmfRecorder::close() {
  begin(kWmfEof, 0);
  // The object count is the size of the table a player must hold: every index ever used.
  // The records follow the room kept for the header, so the words are all of the file.
  const std::uint64_t words = (passed_on_ + records_.size()) / 2;
  std::string header;
  put_u16_le(header, 1);  // type 1, as the Windows recorder writes files (readers refuse 2)
  put_u16_le(header, kWmfHeaderWords);
  put_u16_le(header, 0x0300);
  put_u32_le(header, static_cast<std::uint32_t>(words));
  put_u16_le(header, static_cast<std::uint16_t>(objects_.size()));
  put_u32_le(header, max_record_);
  put_u16_le(header, 0);  // no parameters
  std::string file = std::move(records_);
  if (out_ != nullptr) {
    out_->put(file);
    out_->patch(0, header.data(), header.size());
    file.clear();
  } else {
    file.replace(0, header.size(), header);
  }
  *this = WmfRecorder(out_);
  return file;
}

}  // namespace stylus
