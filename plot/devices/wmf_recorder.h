// A Windows metafile recorder of our own: the drawing calls of a metafile device context
// become records, written into the file as they come (or kept in memory), and closing the
// recording completes the file (the end-of-file record, and the standard header, filled
// from what was recorded, written over the room kept for it at the start).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "devices/byte_sink.h"
#include "devices/driver.h"

namespace stylus {

// Function numbers of the records written (the low byte names the call, the high byte is
// the number of parameter words).
enum WmfFunction : std::uint16_t {
  kWmfEof = 0x0000,
  kWmfSetMapMode = 0x0103,
  kWmfSetTextColor = 0x0209,
  kWmfSetWindowOrg = 0x020B,
  kWmfSetWindowExt = 0x020C,
  kWmfLineTo = 0x0213,
  kWmfMoveTo = 0x0214,
  kWmfSelectObject = 0x012D,
  kWmfDeleteObject = 0x01F0,
  kWmfCreatePenIndirect = 0x02FA,
  kWmfCreateBrushIndirect = 0x02FC,
  kWmfPatBlt = 0x061D,
  kWmfPolygon = 0x0324,
};

inline constexpr int kWmfHeaderWords = 9;
inline constexpr int kMmAnisotropic = 8;
inline constexpr std::uint32_t kPatCopy = 0x00F00021;

class WmfRecorder {
 public:
  // What select_object reports when the object it replaces is the player's default one,
  // which has no index in the metafile.
  static constexpr int kDefaultObject = -1;

  // Records go into out as they are made, a few kilobytes at a time, so that a drawing of
  // any size holds no more memory than that; without out they are kept until close.
  explicit WmfRecorder(ByteSink* out = nullptr) : out_(out) {}

  void set_map_mode(int mode);
  void set_window_org(int x, int y);
  void set_window_ext(int width, int height);
  void set_text_color(RgbColor c);
  // A solid pen one unit wide; returns its object index (the lowest free one).
  int create_pen(RgbColor c);
  // A solid brush; returns its object index.
  int create_brush(RgbColor c);
  // Selects an object; returns the index of the object of the same kind that it replaces,
  // or kDefaultObject. An index that names no object is not recorded (returns
  // kDefaultObject).
  int select_object(int index);
  // Deletes an object and frees its index. An index that names no object is not recorded.
  void delete_object(int index);
  void move_to(int x, int y);
  void line_to(int x, int y);
  // The polygon of n points, filled with the selected brush and outlined with the pen.
  void polygon(const int* x, const int* y, int n);
  // Fills the rectangle of width w and height h at (x, y) with the selected brush.
  void pat_blt(int x, int y, int w, int h, std::uint32_t rop);

  // Ends the metafile: the whole file, or, when the records went into an output, nothing
  // (the file in the output is complete). The recorder is empty again afterwards.
  std::string close();

 private:
  enum class Kind { kFree, kPen, kBrush };

  // Records held before they go to the output.
  static constexpr std::size_t kHeldBytes = 64 * 1024;

  // Starts a record of n parameter words; the caller appends exactly those words. The
  // records before it go to the output once they fill the buffer.
  void begin(WmfFunction function, int n);
  void pass_on();
  void put_coord(int v);
  void put_color(RgbColor c);
  // MoveTo or LineTo (y before x).
  void point_record(WmfFunction function, int x, int y);
  int create(Kind kind);

  // The records not yet in the output, the first of them after room for the header (filled
  // in by close, so that the file is not copied again).
  std::string records_ = std::string(2 * kWmfHeaderWords, '\0');
  ByteSink* out_ = nullptr;
  std::uint64_t passed_on_ = 0;  // bytes already in out_
  std::uint32_t max_record_ = 0;
  std::vector<Kind> objects_;  // the player's object table: one slot per index
  int selected_pen_ = kDefaultObject;
  int selected_brush_ = kDefaultObject;
};

}  // namespace stylus
