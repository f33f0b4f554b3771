// The applet source file: a header naming the class after the file, then one Java
// statement per line for every drawn vector and every colour change, written straight to
// the file (no records). The image size goes back into the plot state's image size (the
// settings that also hold the screen's window size).
#include "devices/java_applet.h"

#include <algorithm>
#include <string_view>

#include "devices/device_table.h"
#include "devices/file_driver.h"
#include "records/number_text.h"

namespace stylus {
namespace {

constexpr int kLongSide = 853;  // default image size in pixels
constexpr int kShortSide = 603;

class JavaAppletDriver final : public FileDriver {
 public:
  JavaAppletDriver() : FileDriver(RecordKind::kText) {}

  // A move only remembers the point; a draw is a line from the last point.
  void point(const DevicePoint& p, int pen) override {
    if (pen == kPenDraw) draw_line(p.ix, p.iy);
    last_x_ = p.ix;
    last_y_ = p.iy;
  }
  void color(const ColorChange& change) override {
    format("  g.setColor (new Color (%d,%d,%d));\n", change.rgb.r, change.rgb.g, change.rgb.b);
  }
  RecordBuffer* records() override { return nullptr; }

 protected:
  float header(const DriverSetup& setup) override;
  DriverStart start(const DriverSetup& setup) override;
  void end() override { put("  }\n}\n"); }

 private:
  // "  g.drawLine (%d,%d,%d,%d);\n" from the last point to (x, y).
  void draw_line(int x, int y) {
    static constexpr std::string_view kStart = "  g.drawLine (";
    char line[4 * kNumberTextSize];
    kStart.copy(line, kStart.size());
    int n = static_cast<int>(kStart.size());
    for (int v : {last_x_, last_y_, x, y}) {
      n += int_text(line + n, v);
      line[n++] = ',';
    }
    line[n - 1] = ')';
    line[n++] = ';';
    line[n++] = '\n';
    put(std::string_view(line, static_cast<std::size_t>(n)));
  }

  int last_x_ = 0, last_y_ = 0;
  int width_ = 0, height_ = 0;  // of the image
};

// The image size goes back into the options, where the screen's window size is kept too.
DriverStart JavaAppletDriver::start(const DriverSetup& setup) {
  DriverStart started = FileDriver::start(setup);
  started.options[kScreenWidth] = width_;
  started.options[kScreenHeight] = height_;
  return started;
}

float JavaAppletDriver::header(const DriverSetup& setup) {
  const DriverPage& page = setup.page;
  const bool rotated = page.rotation == 1;
  const int o = rotated ? page.ny : page.nx;  // page extents on the image
  const int r = rotated ? page.nx : page.ny;
  int width = setup.options[kScreenWidth];
  int height = setup.options[kScreenHeight];
  // Without a size of its own (or with one that leaves no pixel to scale to) the image
  // takes the default size of the page's orientation.
  if (setup.options[kScreenSizeOption] == 0 || width < 2 || height < 2) {
    const bool landscape = page.ny < page.nx;
    width = landscape ? kLongSide : kShortSide;
    height = landscape ? kShortSide : kLongSide;
  }
  width_ = width;
  height_ = height;
  const float w1 = static_cast<float>(width - 1);
  const float h1 = static_cast<float>(height - 1);
  float scale = std::min(w1 / static_cast<float>(o), h1 / static_cast<float>(r));
  // As on the screen: never larger than a page 2969 points long across the image (times
  // the user scale).
  scale = std::min(scale, (o > r ? w1 : h1) * page.user_scale / 2969.0f);
  put("// STYLUS Java Metafile\n");
  format("// Creator: STYLUS %4.1f\n", static_cast<double>(setup.version));
  format("// Date   : %s, %s\n", setup.date.c_str(), setup.time.c_str());
  format("// Size   : %d %d\n", width, height);
  put("\n");
  put("import java.applet.*;\n");
  put("import java.awt.*;\n\n");
  format("public class %s extends Applet {\n",
         applet_class_name(std::string(setup.file_name).c_str()).c_str());
  put("public void paint(Graphics g) {\n");
  return scale;
}

}  // namespace

std::string applet_class_name(const char* file_name) {
  std::string_view name(file_name);
  const std::size_t dir = name.find_last_of("/\\:");
  if (dir != std::string_view::npos) name.remove_prefix(dir + 1);
  return std::string(name.substr(0, name.find('.')));
}

std::unique_ptr<Driver> make_java_applet_driver(const DeviceRecord& /*device*/,
                                                DriverMemory& /*memory*/) {
  return std::make_unique<JavaAppletDriver>();
}

}  // namespace stylus
