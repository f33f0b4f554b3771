// The window-system layer under the screen driver: what the driver needs of a desktop
// (screen, decorated top-level windows, an off-screen backing store, thin-pen drawing and
// one blocking event step), with an X11 implementation and a headless one for machines
// without a display.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace stylus {

// A colour as 0x00RRGGBB. Implementations map it to the display's own pixel values.
using Rgb = std::uint32_t;

inline constexpr Rgb kBlack = 0x000000;
inline constexpr Rgb kWhite = 0xFFFFFF;

struct ScreenInfo {
  int width = 0;   // pixels
  int height = 0;  // pixels
  int depth = 0;   // bits per pixel
};

// Decoration of a sizeable top-level window: the frame on the left, right and bottom,
// and the frame plus the title bar at the top (caption + frame_height).
struct FrameMetrics {
  int caption = 0;       // title bar height
  int frame_height = 0;  // frame thickness at top and bottom
  int frame_width = 0;   // frame thickness at left and right
};

struct Rect {
  int x = 0, y = 0;  // upper-left corner
  int width = 0, height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
  int x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// The client area of a window whose decorations cover `outer` (see create_window), at
// least one pixel each way.
inline Rect client_area(const Rect& outer, const FrameMetrics& f) {
  return {outer.x + f.frame_width, outer.y + f.caption + f.frame_height,
          std::max(outer.width - 2 * f.frame_width, 1),
          std::max(outer.height - f.caption - 2 * f.frame_height, 1)};
}

// Window and backing-store sizes beyond the 16-bit coordinates of a display are refused
// rather than allocated.
inline constexpr int kMaxWindowExtent = 32767;
inline bool backing_size_fits(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxWindowExtent && height <= kMaxWindowExtent;
}

// Handle of a window; 0 is never a valid window.
using WindowId = std::uint32_t;

struct WindowEvent {
  enum class Kind {
    expose,         // part of the window must be repainted
    right_release,  // the right mouse button was released over the window
    other_button,   // any other button press or release
    key,            // a key was pressed
    close,          // the title-bar close button (WM_DELETE_WINDOW on X11)
  };
  enum class Key { other, return_key, escape_key };
  Kind kind = Kind::expose;
  WindowId window = 0;
  int button = 0;        // other_button: the button number
  Key key = Key::other;  // key: which key
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  virtual ScreenInfo screen() = 0;
  virtual FrameMetrics frame_metrics() = 0;

  // A sizeable, decorated top-level window of the class "dismain" whose decorations
  // cover the outer rectangle: its client area is the outer rectangle less frame_width on
  // the left and right, frame_height at the bottom and caption + frame_height at the top.
  // The window is shown at once; its background is painted in `background`.
  virtual WindowId create_window(const Rect& outer, const std::string& title, Rgb background) = 0;
  // Destroys the window and its backing store.
  virtual void destroy_window(WindowId window) = 0;
  // The client area: position on the screen and size in pixels.
  virtual Rect client_rect(WindowId window) = 0;
  virtual void set_title(WindowId window, const std::string& title) = 0;

  // An off-screen pixel buffer of the window's pixel format, initially undefined. While a
  // window has one, all drawing below goes into it; without one, straight into the window.
  // Returns false when it cannot be made.
  virtual bool create_backing_store(WindowId window, int width, int height) = 0;

  // Drawing with a solid pen one pixel wide.
  virtual void polyline(WindowId window, const Point* points, int count, Rgb color) = 0;
  virtual void set_pixel(WindowId window, int x, int y, Rgb color) = 0;
  // Fills the rectangle, right and bottom edges excluded.
  virtual void fill_rect(WindowId window, const Rect& rect, Rgb color) = 0;
  // Fills the polygon of count vertices: the pixels of scan_polygon, row by row as
  // rectangles one pixel high, so that every window system paints the same pixels.
  virtual void fill_polygon(WindowId window, const Point* points, int count, Rgb color);
  // Copies the upper-left width x height pixels of the backing store into the window at
  // (0, 0) and makes the result visible.
  virtual void copy_to_window(WindowId window, int width, int height) = 0;

  // The upper-left width x height pixels of the backing store (of the window when it has
  // none) as colours, rows from the top; black where there is no pixel. Empty when they
  // cannot be read.
  virtual std::vector<Rgb> read_pixels(WindowId window, int width, int height) {
    (void)window, (void)width, (void)height;
    return {};
  }

  // Blocks until the next event of one of the kinds above. Returns nothing when no event
  // can ever come (no display, or the connection is gone), so that a wait ends.
  virtual std::optional<WindowEvent> next_event() = 0;

  // A modal message window with the text and an OK button; returns when it is dismissed.
  virtual void message_box(const std::string& text, const std::string& caption) = 0;

  // The connection to the display is lost (the X server went away): nothing drawn shows
  // any more, and no event comes.
  virtual bool lost() const { return false; }
};

// The X11 window system on the named display (null: $DISPLAY), or null when it cannot
// be opened.
std::unique_ptr<WindowSystem> open_x11_window_system(const char* display_name = nullptr);

// Draws into memory and never waits; used where no display can be opened.
std::unique_ptr<WindowSystem> make_headless_window_system();

// X11 when a display can be opened; otherwise the headless one, after one line on
// standard error that says so.
std::unique_ptr<WindowSystem> open_window_system();

}  // namespace stylus
