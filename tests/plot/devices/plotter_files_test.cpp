// The Kyocera, HPGL and applet files byte by byte: headers of both page orientations,
// scales and their limits, whole commands in records of at most 80 characters, colour
// output per format, the applet's class and image size, and the end of each file.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "devices/java_applet.h"
#include "pen/pen.h"
#include "records/protocol.h"
#include "records/state.h"
#include "stylus.h"
#include "support/fixed_clock.h"
#include "support/fresh_process.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

using namespace stylus;

namespace {

class PlotterFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    ensure_process_defaults();
    set_local_time_source(fixed_test_time);
  }
  void TearDown() override { fresh_process(); }

  // One session on a device and page in the scratch folder; the bytes of its file.
  static std::string session(const char* device, const std::function<void()>& draw = nullptr,
                             const char* page = "DA4L") {
    metafl(device);
    setpag(page);
    ::testing::internal::CaptureStdout();  // the end protocol
    disini();
    if (draw) draw();
    disfin();
    ::testing::internal::GetCapturedStdout();
    return read_file(g_control.metafile_name);
  }

  ScratchDir scratch_;
};

TEST_F(PlotterFilesTest, KyoceraLandscapeFile) {
  const std::string file = session("KYOC", [] {
    lineqq(494, 1799, 2473, 1799);
    setclr(2);  // the printer has no colours
    lineqq(0, 0, 2969, 2099);
  });
  // The first record is exactly full: the next command starts a record of its own.
  EXPECT_EQ(file,
            "!R! UNIT C;SPO L;SLM 0;SRM 28.7;STM 0;SBM 20;UNIT D;MAP  556,2024;DAP 2783,2024;\n"
            "MAP    0,   0;DAP 3341,2362;RES;EXIT;\n");
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 2362.0f / 2099.0f);  // 1.1253 dots per point
}

TEST_F(PlotterFilesTest, KyoceraPortraitFileAndScaleLimit) {
  EXPECT_EQ(session(
                "KYOC", [] { lineqq(10, 20, 30, 40); }, "DA4P"),
            "!R! UNIT C;SPO P;SLM 0;SRM 20;STM 0;SBM 28.7;UNIT D;MAP   11,  23;DAP   34,  45;"
            "\nRES;EXIT;\n");
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 2362.0f / 2099.0f);
  // Half the user scale: at most 150 dots per inch.
  g_xvray.user_scale = 0.5f;
  session("KYOC");
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 150.0f / 254.0f);
}

TEST_F(PlotterFilesTest, HpglFileAndPenChanges) {
  const std::string file = session("HPGL", [] {
    lineqq(494, 1799, 2473, 1799);  // the frame's bottom
    setclr(2);
    setclr(2);  // the same colour again: no pen change
    setclr(3);
  });
  // The session start's foreground 255 (rainbow table) is the first pen change.
  EXPECT_EQ(file, " SP1;\nSP255;PU1976,1200;PD9892,1200;SP2;SP3;PU0,0;\n");
  EXPECT_EQ(g_xvray.page_scale, 4.0f);
  g_xvray.user_scale = 0.5f;
  session("HPGL");
  EXPECT_EQ(g_xvray.page_scale, 2.0f);
}

TEST_F(PlotterFilesTest, HpglSheetsFitThePageAndTurnAPortraitOne) {
  EXPECT_EQ(session("HPA4", [] { lineqq(494, 1799, 2473, 1799); }),
            " SP1;\nSP255;PU1789,1086;PD8954,1086;PU0,0;\n");
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 7600.0f / 2099.0f);  // 3.6208 units per point
  // The page's left edge along the sheet's far long side, its top at the right end.
  EXPECT_EQ(session(
                "HPA4", [] { lineqq(0, 0, 0, 2969); }, "DA4P"),
            " SP1;\nSP255;PU10750,7600;PD0,7600;PU0,0;\n");
  // An A1 sheet would take 10.18 units per point: no more than "HPGL".
  session("HPA1");
  EXPECT_EQ(g_xvray.page_scale, 4.0f);
}

TEST_F(PlotterFilesTest, AppletFile) {
  const std::string file = session("JAVA", [] {
    lineqq(494, 1799, 2473, 1799);
    xdraw(2473, 400);  // continues from the last point
    color("red");
    color("red");  // every change is written
  });
  EXPECT_EQ(file,
            "// STYLUS Java Metafile\n"
            "// Creator: STYLUS  7.3\n"
            "// Date   : 07.12.2026, 09:13:34\n"
            "// Size   : 853 603\n"
            "\n"
            "import java.applet.*;\n"
            "import java.awt.*;\n"
            "\n"
            "public class stylus extends Applet {\n"
            "public void paint(Graphics g) {\n"
            "  g.setColor (new Color (0,0,0));\n"  // the session start's foreground
            "  g.drawLine (142,516,709,516);\n"
            "  g.drawLine (709,516,709,115);\n"
            "  g.setColor (new Color (255,0,0));\n"
            "  g.setColor (new Color (255,0,0));\n"
            "  }\n}\n");
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 602.0f / 2099.0f);  // 0.28680 pixels per point
  EXPECT_EQ(g_ivray.screen_opts[kScreenWidth], 853);
  EXPECT_EQ(g_ivray.screen_opts[kScreenHeight], 603);
}

TEST_F(PlotterFilesTest, AppletImageSizeAndClassName) {
  EXPECT_NE(session("JAVA", nullptr, "DA4P").find("// Size   : 603 853\n"), std::string::npos);
  EXPECT_EQ(g_ivray.screen_opts[kScreenHeight], 853);
  // A size of its own when the option asks for it; the default when it is unusable.
  g_ivray.screen_opts[kScreenSizeOption] = 1;
  g_ivray.screen_opts[kScreenWidth] = 400;
  g_ivray.screen_opts[kScreenHeight] = 300;
  EXPECT_NE(session("JAVA").find("// Size   : 400 300\n"), std::string::npos);
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 399.0f / 2969.0f);
  g_ivray.screen_opts[kScreenWidth] = 0;
  EXPECT_NE(session("JAVA").find("// Size   : 853 603\n"), std::string::npos);

  EXPECT_EQ(applet_class_name("C:plots\\sub/_12.java"), "_12");
  EXPECT_EQ(applet_class_name("a:b\\c.d.java"), "c");
}

}  // namespace
