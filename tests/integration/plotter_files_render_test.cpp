// The qh2 picture (examples/energy_curve) in the printer, plotter and applet files, each
// read back by a real reader or by the commands it holds: the HPGL file rendered by hp2xx,
// the applet compiled by javac and painted by the JDK, the Kyocera commands drawn here. All
// must show frame, labels, titles and curve where the axis system puts them; the text
// records of the printer and plotter files hold whole commands of at most 80 characters.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/command.h"
#include "support/energy_picture.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

namespace {

// Records of the printer and plotter files from the line `first` on: each at most 80
// characters and a sequence of whole commands ending with ";", each of which `known`
// accepts. Returns the commands without their ";".
template <class Known>
std::vector<std::string> whole_commands(const std::vector<std::string>& records, size_t first,
                                        Known known) {
  std::vector<std::string> commands;
  for (size_t i = first; i < records.size(); ++i) {
    const std::string& rec = records[i];
    EXPECT_LE(rec.size(), 80u) << "record " << i;
    EXPECT_TRUE(!rec.empty() && rec.back() == ';') << "record " << i << " ends inside a command";
    size_t start = 0;
    for (size_t end; (end = rec.find(';', start)) != std::string::npos; start = end + 1) {
      commands.push_back(rec.substr(start, end - start));
      EXPECT_TRUE(known(commands.back())) << "record " << i << ": " << commands.back();
    }
  }
  return commands;
}

// The two numbers of a command's tail "x,y" (blanks allowed before each); false when the
// tail is anything else.
bool pair_of(const std::string& tail, int& x, int& y) {
  int used = -1;
  return std::sscanf(tail.c_str(), "%d,%d%n", &x, &y, &used) == 2 &&
         used == static_cast<int>(tail.size());
}

class PlotterFiles : public ::testing::Test {
 protected:
  // Runs the example on a device in the scratch folder; keeps its result points.
  void draw(const std::string& device) {
    const std::string exe = std::string(STYLUS_BINARY_DIR) + "/examples/energy_curve";
    ASSERT_TRUE(std::ifstream(exe).good()) << "build the example first: " << exe;
    const CommandResult program = run_command("'" + exe + "' " + device);
    ASSERT_EQ(program.status, 0) << program.output;
    points_ = result_points(program.output);
    ASSERT_EQ(points_.size(), 59u);
  }

  ScratchDir scratch_;
  std::vector<ResultPoint> points_;
};

TEST_F(PlotterFiles, HpglRenderedByHp2xx) {
  ASSERT_NO_FATAL_FAILURE(draw("HPGL"));
  const std::vector<std::string> records = read_lines("stylus.hpg");
  ASSERT_GT(records.size(), 10u);
  EXPECT_EQ(records[0], " SP1;");
  const std::vector<std::string> commands = whole_commands(records, 1, [](const std::string& c) {
    int x, y;
    if (c.rfind("SP", 0) == 0) return std::atoi(c.c_str() + 2) > 0;
    return (c.rfind("PU", 0) == 0 || c.rfind("PD", 0) == 0) && pair_of(c.substr(2), x, y);
  });
  // 4 plotter units per point, y up: the frame's lower-left corner (494, 1799).
  EXPECT_NE(std::find(commands.begin(), commands.end(), "PU1976,1200"), commands.end());
  EXPECT_EQ(commands.back(), "PU0,0");

  // hp2xx has eight pens: it takes the rainbow's foreground 255 as pen 7 and red 254 as
  // pen 6, here black and red. True size (1/40 mm a unit) at 150 dots per inch, the range
  // fixed to the page; the picture has a pixel of border and y runs up from its bottom.
  const CommandResult hp2xx = run_command(
      "hp2xx -m png -c 12345211 -t -d 150 -x 0 -X 11876 -y 0 -Y 8396 -f page.png stylus.hpg && "
      "pngtopnm page.png > page.ppm");
  ASSERT_EQ(hp2xx.status, 0) << hp2xx.output;
  EXPECT_NE(hp2xx.output.find("HPGL command(s) ignored: 0"), std::string::npos) << hp2xx.output;
  EXPECT_NE(hp2xx.output.find("Writing PNG output: page.png"), std::string::npos);
  RgbImage image;
  ASSERT_TRUE(image.load_ppm("page.ppm")) << hp2xx.output;
  const double s = 150.0 / 25.4 * 4.0 / 40.0;  // pixels per point
  const PixelMap map{1.0, s, 0, image.height() - 1.5 - 2099 * s, 0, s};
  const EnergyPicture picture(image, map, dark);
  picture.expect_axis_system();
  picture.expect_curve(points_);
}

TEST_F(PlotterFiles, KyoceraCommandsDrawThePicture) {
  ASSERT_NO_FATAL_FAILURE(draw("KYOC"));
  const std::vector<std::string> records = read_lines("stylus.kyo");
  ASSERT_GT(records.size(), 10u);
  const std::string setup = "!R! UNIT C;SPO L;SLM 0;SRM 28.7;STM 0;SBM 20;UNIT D;";
  ASSERT_EQ(records[0].substr(0, setup.size()), setup);
  const std::vector<std::string> commands = whole_commands(records, 0, [](const std::string& c) {
    int x, y;
    if (c.rfind("MAP ", 0) == 0 || c.rfind("DAP ", 0) == 0) return pair_of(c.substr(4), x, y);
    for (const char* fixed :
         {"!R! UNIT C", "SPO L", "SLM 0", "SRM 28.7", "STM 0", "SBM 20", "UNIT D", "RES", "EXIT"})
      if (c == fixed) return true;
    return false;
  });
  ASSERT_GE(commands.size(), 2u);
  EXPECT_EQ(commands[commands.size() - 2], "RES");
  EXPECT_EQ(commands.back(), "EXIT");

  // Draw the commands at half a dot per pixel, black on white.
  const double dots = 2362.0 / 2099.0;  // dots per point
  RgbImage image(3390 / 2, 2362 / 2);
  int px = 0, py = 0;
  for (const std::string& c : commands) {
    int x, y;
    if (c.size() < 4 || !pair_of(c.substr(4), x, y)) continue;
    if (c[0] == 'D') {
      const int n = std::max(std::abs(x - px), std::abs(y - py));
      for (int k = 0; k <= n; ++k) {
        const double t = n == 0 ? 0.0 : static_cast<double>(k) / n;
        image.set(static_cast<int>((px + t * (x - px)) / 2 + 0.5),
                  static_cast<int>((py + t * (y - py)) / 2 + 0.5), {0, 0, 0});
      }
    }
    px = x;
    py = y;
  }
  const EnergyPicture picture(image, PixelMap::scaled(dots / 2, 0.5, 0.5), dark);
  picture.expect_axis_system();
  // The printer has no colours: the curve is black, through every result point inside the
  // window.
  int inside = 0, hits = 0;
  for (const ResultPoint& p : points_) {
    if (p.y < -32.3f || p.y > -23.2f || page_x(p.x) > 2470.0f) continue;
    ++inside;
    hits += picture.near(page_x(p.x), page_y(p.y), dark, 2) ? 1 : 0;
  }
  EXPECT_GT(inside, 40);
  EXPECT_EQ(hits, inside);
}

TEST_F(PlotterFiles, AppletCompiledAndPainted) {
  ASSERT_NO_FATAL_FAILURE(draw("JAVA"));
  const std::vector<std::string> lines = read_lines("stylus.java");
  ASSERT_GT(lines.size(), 10u);
  EXPECT_EQ(lines[8], "public class stylus extends Applet {");
  EXPECT_EQ(lines[3], "// Size   : 853 603");
  const std::string painter =
      std::string(STYLUS_TEST_DATA) + "/integration/data/AppletPainter.java";
  const CommandResult javac =
      run_command("javac -Xlint:-removal -d . stylus.java '" + painter + "'");
  ASSERT_EQ(javac.status, 0) << javac.output;
  EXPECT_EQ(javac.output.find("warning"), std::string::npos) << javac.output;
  const CommandResult java =
      run_command("java -Djava.awt.headless=true -cp . AppletPainter stylus 853 603 applet.ppm");
  ASSERT_EQ(java.status, 0) << java.output;
  RgbImage image;
  ASSERT_TRUE(image.load_ppm("applet.ppm"));
  ASSERT_EQ(image.width(), 853);
  ASSERT_EQ(image.height(), 603);
  // Device pixel r(s x) is the pixel whose centre is s x + 0.5.
  const EnergyPicture picture(image, PixelMap::scaled(602.0 / 2099.0, 0.5, 0.5), dark);
  picture.expect_axis_system();
  picture.expect_curve(points_);

  // A second run beside the first: the next version, whose class bears its name.
  ASSERT_NO_FATAL_FAILURE(draw("JAVA"));
  EXPECT_EQ(read_lines("stylus_1.java").at(8), "public class stylus_1 extends Applet {");
  const CommandResult second = run_command("javac -Xlint:-removal -d . stylus_1.java");
  EXPECT_EQ(second.status, 0) << second.output;
  EXPECT_TRUE(file_exists("stylus_1.class"));
}

}  // namespace
