// The applet source file: the header with the class named after the versioned file, the
// image size kept in the plot state, a line per drawn vector from the last point, a colour
// statement per colour change, and the end.
#include <gtest/gtest.h>

#include <string>

#include "devices/java_applet.h"
#include "draw/pen.h"
#include "state/state.h"
#include "stylus.h"
#include "support/file_session.h"
#include "support/fresh_process.h"
#include "support/scratch_dir.h"

using namespace stylus;

namespace {

class JavaAppletTest : public ::testing::Test {
 protected:
  void SetUp() override { fresh_process(); }
  void TearDown() override { fresh_process(); }
  ScratchDir scratch_;
};

std::string header(const char* size, const char* cls) {
  return std::string(
             "// STYLUS Java Metafile\n"
             "// Creator: STYLUS  7.3\n"
             "// Date   : 07.12.2026, 09:13:34\n"
             "// Size   : ") +
         size + "\n\nimport java.applet.*;\nimport java.awt.*;\n\npublic class " + cls +
         " extends Applet {\npublic void paint(Graphics g) {\n";
}

TEST_F(JavaAppletTest, WholeFileOfALandscapePage) {
  const std::string file = file_session("JAVA", [] {
    lineqq(494, 1799, 2473, 1799);
    xdraw(2473, 400);  // continues from the last point
    color("red");
    color("red");  // written again
  });
  EXPECT_EQ(file, header("853 603", "stylus") +
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

TEST_F(JavaAppletTest, SecondFileNamesItsClassAfterTheVersion) {
  file_session("JAVA", nullptr);
  const std::string second = file_session("JAVA", nullptr, "DA4P");
  EXPECT_STREQ(g_control.metafile_name, "stylus_1.java");
  EXPECT_EQ(second.substr(0, header("603 853", "stylus_1").size()), header("603 853", "stylus_1"));
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 602.0f / 2099.0f);
  EXPECT_EQ(g_ivray.screen_opts[kScreenWidth], 603);
  EXPECT_EQ(g_ivray.screen_opts[kScreenHeight], 853);
}

TEST_F(JavaAppletTest, ImageSizeOfThePlotState) {
  // A size of its own when the option asks for it, the default when it is unusable.
  ensure_process_defaults();
  g_ivray.screen_opts[kScreenSizeOption] = 1;
  g_ivray.screen_opts[kScreenWidth] = 400;
  g_ivray.screen_opts[kScreenHeight] = 300;
  EXPECT_NE(file_session("JAVA", nullptr).find("// Size   : 400 300\n"), std::string::npos);
  EXPECT_FLOAT_EQ(g_xvray.page_scale, 399.0f / 2969.0f);
  g_ivray.screen_opts[kScreenWidth] = 0;
  EXPECT_NE(file_session("JAVA", nullptr).find("// Size   : 853 603\n"), std::string::npos);
}

TEST(AppletClassName, FilePartUpToTheFirstDot) {
  EXPECT_EQ(applet_class_name("stylus.java"), "stylus");
  EXPECT_EQ(applet_class_name("C:plots\\sub/_12.java"), "_12");
  EXPECT_EQ(applet_class_name("a:b\\c.d.java"), "c");
  EXPECT_EQ(applet_class_name("dir.x/plain"), "plain");
}

}  // namespace
