// The qh2 picture (examples/energy_curve) on the terminal devices, shown by a terminal: the
// Tektronix 4014 stream written to xterm's Tek window, on a private Xvfb server, and the
// window's picture read back with ImageMagick's import and checked where the axis system puts
// frame, labels, titles and the curve.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/child_process.h"
#include "support/command.h"
#include "support/energy_picture.h"
#include "support/scratch_dir.h"
#include "support/xvfb_server.h"

namespace {

class TerminalWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!XvfbServer::installed()) GTEST_SKIP() << "Xvfb is not installed; run scripts/bootstrap.sh";
    ASSERT_TRUE(server_.running());
  }

  // Runs the example on a device in the scratch folder; keeps its result points.
  void draw(const std::string& device) {
    const std::string exe = std::string(STYLUS_BINARY_DIR) + "/examples/energy_curve";
    ASSERT_TRUE(std::ifstream(exe).good()) << "build the example first: " << exe;
    const CommandResult program = run_command("'" + exe + "' " + device);
    ASSERT_EQ(program.status, 0) << program.output;
    points_ = result_points(program.output);
    ASSERT_EQ(points_.size(), 59u);
  }

  // Starts xterm with the arguments, its shell writing the file to the terminal and then
  // waiting; returns the picture of the window whose name contains `name` once the picture
  // has stopped changing (nothing when the window never shows or never settles).
  RgbImage show(const std::vector<std::string>& args, const std::string& file,
                const std::string& name) {
    const std::string display = server_.display();
    std::vector<std::string> argv = args;
    argv.insert(argv.begin(), "xterm");
    argv.insert(argv.end(), {"-e", "sh", "-c", "cat '" + file + "'; sleep 120"});
    ChildProcess xterm(
        [argv] {
          std::vector<char*> a;
          for (const std::string& s : argv) a.push_back(const_cast<char*>(s.c_str()));
          a.push_back(nullptr);
          execvp("xterm", a.data());
          _exit(127);
        },
        {"DISPLAY=" + display});
    const std::string env = "DISPLAY=" + display + " ";
    std::string window, last;
    RgbImage image;
    for (int i = 0; i < 100; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      if (window.empty()) {
        const CommandResult r = run_command(env + "xdotool search --name '" + name + "'");
        if (r.status == 0 && !r.output.empty()) window = r.output.substr(0, r.output.find('\n'));
        continue;
      }
      const CommandResult shot =
          run_command(env + "import -window " + window + " -depth 8 -type TrueColor ppm:shot.ppm");
      if (shot.status != 0) continue;
      const std::string now = read_file("shot.ppm");
      if (now == last && image.load_ppm("shot.ppm")) return image;
      last = now;
    }
    ADD_FAILURE() << "no settled picture of the window '" << name << "'";
    return {};
  }

  static std::string read_file(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  XvfbServer server_;
  ScratchDir scratch_;
  std::vector<ResultPoint> points_;
};

TEST_F(TerminalWindows, TektronixStreamInXtermsTekWindow) {
  ASSERT_NO_FATAL_FAILURE(draw("TEKT"));
  const RgbImage image = show({"-t"}, "stylus.tek", "Tek");
  ASSERT_GT(image.width(), 100);
  // xterm's Tek window: a border of 2 pixels, then 4096 x 3129 screen points (y from -23 to
  // 3105, up) scaled by one factor to fit the window. The page's top is at y 2895.
  const double k = std::min((image.width() - 4) / 4096.0, (image.height() - 4) / 3129.0);
  const double s = 4095.0 / 2969.0;
  const PixelMap map{2.0, k * s, 0.0, 2.0 + k * (3106 - 2895), 0.0, k * s};
  const EnergyPicture picture(image, map, dark);  // black on white
  picture.expect_axis_system();
  int inside = 0, hits = 0;
  for (const ResultPoint& p : points_) {
    if (p.y < -32.3f || p.y > -23.2f || page_x(p.x) > 2470.0f) continue;
    ++inside;
    hits += picture.near(page_x(p.x), page_y(p.y), dark, 2) ? 1 : 0;
  }
  EXPECT_GT(inside, 40);
  EXPECT_EQ(hits, inside);
}

}  // namespace
