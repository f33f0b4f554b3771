// Session start and end: defaults, refused devices, output and error files, and the end
// protocol byte for byte (with the test clock of the fixture).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "pen/linestyle.h"
#include "pen/pen.h"
#include "support/state_fixture.h"
#include "api/session.h"
#include "stylus.h"

using namespace stylus;

namespace {

const std::string kRule = " <<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<";

// The protocol box for the fixture's clock on the default page.
std::string box(const std::string& vectors_line, const std::string& file_lines) {
  return "\n" + kRule +                                                             //
         "\n <<                END OF STYLUS / VERSION  7.3                  <<" +  //
         "\n <<  Date    : 07.12.2026  Time    : 09:13:34  Pageformat: DA4L  <<" +  //
         "\n" + vectors_line + file_lines + "\n" + kRule + "\n\n";
}

std::unique_ptr<Driver> no_driver(int) {
  return nullptr;
}

void draw_points(int n) {
  for (int i = 0; i < n; ++i) xjdraw(static_cast<float>(i), 0.0f, i == 0 ? kPenMove : kPenDraw);
}

}  // namespace

using Session = StateTest;

TEST_F(Session, WithoutMetaflTheSessionWritesTheTextMetafileOnTheDefaultPage) {
  use_recording_driver();
  disini();
  EXPECT_EQ(g_ivray.level, 1);
  EXPECT_EQ(g_ivray.device, 201);
  EXPECT_STREQ(g_control.device_name, "GKSL");
  EXPECT_STREQ(g_control.page_format, "DA4L");
  EXPECT_EQ(g_ivray.page_nx, 2969);
  EXPECT_EQ(g_ivray.page_ny, 2099);
  EXPECT_EQ(g_ivray.axis_len_x, 1980);
  EXPECT_EQ(g_ivray.axis_len_y, 1400);
  EXPECT_EQ(g_ivray.axis_len_z, 1400);
  EXPECT_EQ(g_ivray.axis_pos_x, 494);
  EXPECT_EQ(g_ivray.axis_pos_y, 1799);
  EXPECT_STREQ(g_control.metafile_name, "stylus.met");
  ASSERT_NE(session_output(), nullptr);
  // The file is written under a temporary name and put in place complete at the end.
  EXPECT_FALSE(file_exists("stylus.met"));
  capture();
  disfin();
  // The session ends with the metafile's move to the page origin: one vector.
  EXPECT_EQ(stdout_text(),
            box(" <<  Vectors : 1           Warnings: 0         Fileformat: GKSL  <<",
                "\n <<  Metafile: stylus.met                                        <<"));
  EXPECT_EQ(g_ivray.level, 0);
  EXPECT_EQ(g_ivray.finished, 1);
  EXPECT_EQ(session_output(), nullptr);
  EXPECT_EQ(current_driver(), nullptr);
  EXPECT_TRUE(file_exists("stylus.met"));
  EXPECT_FALSE(file_exists("stylus.err"));
}

TEST_F(Session, AnExistingMetafileGetsANewVersion) {
  use_recording_driver();
  { std::ofstream("stylus.met") << "keep"; }
  disini();
  EXPECT_STREQ(g_control.metafile_name, "stylus_1.met");
  disfin();
  EXPECT_EQ(read_file("stylus.met"), "keep");
  EXPECT_TRUE(file_exists("stylus_1.met"));
}

TEST_F(Session, ProtocolOfTheScreenByteForByte) {
  use_recording_driver();
  RecordingDriver::finish_result() = 0;  // the screen writes no metafile
  metafl("CONS");
  disini();
  draw_points(1234);
  capture();
  disfin();
  const std::string text = stdout_text();
  EXPECT_EQ(text, box(" <<  Vectors : 1234        Warnings: 0         Fileformat: CONS  <<",
                      "\n <<  Metafile:                                                   <<"));
  // Every line of the box is 67 characters wide.
  std::size_t start = 1;
  for (int line = 0; line < 6; ++line) {
    std::size_t end = text.find('\n', start);
    EXPECT_EQ(end - start, 67u) << line;
    start = end + 1;
  }
}

TEST_F(Session, ProtocolCountsWarningsThatWereNotPrinted) {
  use_recording_driver();
  metafl("POST");
  disini();
  draw_points(123);
  g_ivray.msg_unit = 0;
  color("PINK");
  setclr(300);
  g_ivray.msg_unit = 6;
  capture();
  disfin();
  EXPECT_EQ(stdout_text(),
            box(" <<  Vectors : 123         Warnings: 2         Fileformat: POST  <<",
                "\n <<  Metafile: stylus.psc                                        <<"));
}

TEST_F(Session, NothingIsPrintedWithMessagesOff) {
  use_recording_driver();
  metafl("POST");
  disini();
  g_ivray.msg_unit = 0;
  capture();
  disfin();
  EXPECT_EQ(stdout_text(), "");
}

TEST_F(Session, ErrorFileCollectsTheMessagesAndIsNamedInTheProtocol) {
  use_recording_driver();
  metafl("POST");
  g_ivray.err_to_file = 1;
  disini();
  EXPECT_EQ(g_ivray.msg_unit, 17);
  EXPECT_NE(g_control.msg_stream, stdout);
  capture();
  color("PINK");
  EXPECT_EQ(stdout_text(), "");
  capture();
  disfin();
  EXPECT_EQ(stdout_text(),
            box(" <<  Vectors : 0           Warnings: 1         Fileformat: POST  <<",
                "\n <<  Metafile: stylus.psc                                        <<"
                "\n <<  Err-file: stylus.err                                        <<"));
  EXPECT_EQ(read_file("stylus.err"), " <<<< Warning   2: Incorrect parameter in color!   (PINK)\n");
  EXPECT_EQ(g_ivray.msg_unit, 6);
  EXPECT_EQ(g_control.msg_stream, stdout);
}

TEST_F(Session, AnEmptyErrorFileIsDeleted) {
  use_recording_driver();
  metafl("POST");
  g_ivray.err_to_file = 1;
  disini();
  EXPECT_STREQ(g_control.error_file_name, "stylus.err");
  EXPECT_NE(g_control.msg_stream, stdout);  // an error file is open, under a temporary name
  capture();
  disfin();
  EXPECT_EQ(stdout_text().find("Err-file"), std::string::npos);
  EXPECT_FALSE(file_exists("stylus.err"));
  // Nothing of it is left: the folder holds the metafile alone.
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator("."))
    files.push_back(e.path().filename());
  EXPECT_EQ(files, std::vector<std::string>{"stylus.psc"});
}

TEST_F(Session, ErrorFileWithoutMetafileOmitsTheMetafileLine) {
  use_recording_driver();
  RecordingDriver::finish_result() = 0;
  metafl("XWIN");
  g_ivray.err_to_file = 1;
  disini();
  linwid(0);
  capture();
  disfin();
  EXPECT_EQ(stdout_text(),
            box(" <<  Vectors : 0           Warnings: 1         Fileformat: XWIN  <<",
                "\n <<  Err-file: stylus.err                                        <<"));
}

TEST_F(Session, AnExistingErrorFileIsKept) {
  use_recording_driver();
  { std::ofstream("stylus.err") << "old"; }
  metafl("POST");
  g_ivray.err_to_file = 1;
  disini();
  EXPECT_STREQ(g_control.error_file_name, "stylus_1.err");
  disfin();
  EXPECT_EQ(read_file("stylus.err"), "old");
  EXPECT_FALSE(file_exists("stylus_1.err"));
}

TEST_F(Session, DeviceWithoutDriverIsRefused) {
  stylus::set_driver_factory(no_driver);
  metafl("TIFF");
  capture();
  disini();
  EXPECT_EQ(stdout_text(), " <<<< Warning 101: Output device not available in disini!   (TIFF)\n");
  EXPECT_EQ(g_ivray.level, 0);
  EXPECT_EQ(current_driver(), nullptr);
  EXPECT_EQ(session_output(), nullptr);
  capture();
  disfin();  // no session to end
  EXPECT_EQ(stdout_text(), " <<<< Warning   3: Incorrect level in disfin!   (   0)\n");
}

TEST_F(Session, DefaultMetafileWithoutDriverIsRefusedNamingGksl) {
  stylus::set_driver_factory(no_driver);
  capture();
  disini();
  EXPECT_EQ(stdout_text(), " <<<< Warning 101: Output device not available in disini!   (GKSL)\n");
  EXPECT_EQ(g_ivray.device, 201);
  EXPECT_FALSE(file_exists("stylus.met"));
}

TEST_F(Session, AFileThatCannotBeOpenedGivesFileErrorAndNoOutput) {
  use_recording_driver();
  // A working folder removed under the program: the name is free but cannot be created.
  const std::filesystem::path home = std::filesystem::current_path();
  std::filesystem::create_directory("gone");
  std::filesystem::current_path("gone");
  std::filesystem::remove(home / "gone");
  metafl("POST");
  capture();
  disini();
  std::filesystem::current_path(home);
  EXPECT_EQ(stdout_text(), " <<<< Warning  36: File error in disini!   (stylus.psc)\n");
  EXPECT_EQ(g_ivray.level, 1);
  EXPECT_EQ(session_output(), nullptr);
  EXPECT_EQ(current_driver(), nullptr);  // nothing can be written
  color("RED");
  linwid(3);
  draw_points(10);
  EXPECT_TRUE(RecordingDriver::log().empty());
  capture();
  disfin();
  EXPECT_EQ(stdout_text(),
            box(" <<  Vectors : 10          Warnings: 1         Fileformat: POST  <<",
                "\n <<  Metafile:                                                   <<"));
}

TEST_F(Session, DisiniTwiceWarnsAndKeepsTheFirstSession) {
  use_recording_driver();
  metafl("POST");
  disini();
  linwid(7);
  Driver* first = current_driver();
  capture();
  disini();
  metafl("CONS");
  setpag("DA3L");
  winini();
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   3: Incorrect level in disini!   (   1)\n"
            " <<<< Warning   3: Incorrect level in metafl!   (   1)\n"
            " <<<< Warning   3: Incorrect level in setpag!   (   1)\n"
            " <<<< Warning   3: Incorrect level in winini!   (   1)\n");
  EXPECT_EQ(current_driver(), first);
  EXPECT_EQ(g_ivray.line_width, -7);  // PostScript draws the width itself
  EXPECT_EQ(g_ivray.device, 501);
  EXPECT_EQ(g_ivray.page_nx, 2969);
  EXPECT_EQ(g_ivray.protocol_window, 0);
  EXPECT_EQ(g_ivray.n_warnings, 4);
}

TEST_F(Session, ASecondSessionKeepsDeviceAndPageButResetsTheRest) {
  use_recording_driver();
  metafl("POST");
  setpag("DA4P");
  disini();
  EXPECT_EQ(g_ivray.axis_len_x, 1400);
  EXPECT_EQ(g_ivray.axis_len_y, 1980);
  EXPECT_EQ(g_ivray.axis_pos_x, 349);
  EXPECT_EQ(g_ivray.axis_pos_y, 2669);
  linwid(9);
  setvlt("VGA");
  color("PINK");
  disfin();
  disini();
  EXPECT_EQ(g_ivray.device, 501);
  EXPECT_STREQ(g_control.page_format, "DA4P");
  EXPECT_STREQ(g_control.metafile_name, "stylus_1.psc");
  EXPECT_EQ(g_ivray.line_width, 1);
  EXPECT_EQ(g_ivray.color_table, 6);
  EXPECT_EQ(g_ivray.n_warnings, 0);
  EXPECT_EQ(g_ivray.finished, 0);
  disfin();
}

TEST_F(Session, ResallDefaults) {
  use_recording_driver();
  metafl("CONS");
  g_linestyle.dash_count = 3;  // a dashed line left over from an earlier session
  g_linestyle.dash_gap = 1;
  disini();
  EXPECT_EQ(g_linestyle.dash_count, 1);
  EXPECT_EQ(g_linestyle.dash_gap, 0);
  EXPECT_EQ(g_ivray.char_height, 36);
  EXPECT_EQ(g_ivray.name_height, 36);
  EXPECT_EQ(g_ivray.text_angle, 0);
  EXPECT_EQ(g_ivray.label_digits_x, 1);
  EXPECT_EQ(g_ivray.label_digits_y, 1);
  EXPECT_EQ(g_ivray.label_digits_z, 1);
  EXPECT_EQ(g_ivray.line_width_mode, 2);
  EXPECT_FLOAT_EQ(g_xvray.line_width_factor, 2.0f);
  EXPECT_EQ(g_ivray.window_end_mode, 0);
  EXPECT_EQ(g_control.msg_stream, stdout);
  EXPECT_EQ(g_ivray.msg_unit, 6);
  EXPECT_STREQ(g_titles.axis_title_x, "");
  const int lines[] = {0, 1, 2, 3, 4, 5, 6, 7, 0, 1};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(g_cycles.line_cycle[i], lines[i]);
  EXPECT_EQ(g_cycles.line_cycle[29], 5);
  EXPECT_EQ(g_cycles.symbol_cycle[0], 0);
  EXPECT_EQ(g_cycles.symbol_cycle[16], 16);
  EXPECT_EQ(g_cycles.symbol_cycle[17], 17);
  EXPECT_EQ(g_cycles.symbol_cycle[18], 0);
  EXPECT_EQ(g_cycles.symbol_cycle[29], 11);
  disfin();
}

TEST_F(Session, WindowedProtocolGoesToTheMessageWindow) {
  static std::string shown, title;
  shown.clear();
  stylus::set_message_window([](const char* text, const char* caption) {
    shown = text;
    title = caption;
  });
  use_recording_driver();
  metafl("POST");
  winini();
  disini();
  EXPECT_EQ(g_ivray.msg_unit, 17);  // messages go to the error file meanwhile
  draw_points(5);
  capture();
  disfin();
  EXPECT_EQ(stdout_text(), "");
  EXPECT_EQ(title, "disfin");
  EXPECT_EQ(shown,
            "           END OF STYLUS / VERSION  7.3  \n \n Date          : 07.12.2026"
            "\n Time          : 09:13:34\n Pageformat: DA4L\n Vectors      : 5"
            "\n Warnings  : 0\n Fileformat  : POST\n Metafile     : stylus.psc");
  EXPECT_FALSE(file_exists("stylus.err"));
}

TEST_F(Session, WindowedProtocolWithoutAWindowGoesToStandardOutput) {
  use_recording_driver();
  RecordingDriver::finish_result() = 0;
  metafl("CONS");
  winini();
  disini();
  color("PINK");
  capture();
  disfin();
  EXPECT_EQ(stdout_text(),
            "           END OF STYLUS / VERSION  7.3  \n \n Date          : 07.12.2026"
            "\n Time          : 09:13:34\n Pageformat: DA4L\n Vectors      : 0"
            "\n Warnings  : 1\n Fileformat  : CONS\n Error file    : stylus.err\n");
  EXPECT_EQ(read_file("stylus.err"), " <<<< Warning   2: Incorrect parameter in color!   (PINK)\n");
}

TEST_F(Session, ByReferenceEntryPoints) {
  use_recording_driver();
  metafl_("consolexx", 9);
  EXPECT_EQ(g_ivray.device, 80);
  EXPECT_STREQ(g_control.device_name, "CONS");
  setpag_("da3pxxx", 7);
  EXPECT_STREQ(g_control.page_format, "DA3P");
  disini_();
  color_("reddish", 3);
  EXPECT_EQ(g_ivray.cur_color, 254);
  const int width = 6, ncol = 17;
  linwid_(&width);
  setclr_(&ncol);
  EXPECT_EQ(g_ivray.line_width, 6);
  EXPECT_EQ(g_ivray.cur_color, 17);
  setvlt_("GREYS", 5);
  EXPECT_EQ(g_ivray.color_table, 3);
  capture();
  color_("PINK", 4);
  disfin_();
  const std::string text = stdout_text();
  EXPECT_EQ(text.rfind(" <<<< Warning   2: Incorrect parameter in color!   (PINK)\n\n" + kRule, 0),
            0u)
      << text;
  EXPECT_NE(text.find("Pageformat: DA3P"), std::string::npos);
  EXPECT_EQ(g_ivray.level, 0);
}

TEST_F(Session, MessagesSwitchedOffStayOffAcrossSessionsAndAreCounted) {
  use_recording_driver();
  capture();
  msgmod("off");
  metafl("XXXX");
  metafl("POST");
  disini();
  color("PINK");
  EXPECT_EQ(nwarns(), 1);  // the session's warnings only
  disfin();                // no protocol
  EXPECT_EQ(nwarns(), 1);
  disfin();        // a level error outside a session is always reported ...
  setpag("XXXX");  // ... and does not switch messages on again
  msgmod_("ON  x", 5);
  setpag("YYYY");
  msgmod("loud");
  EXPECT_EQ(stdout_text(),
            " <<<< Warning   3: Incorrect level in disfin!   (   0)\n"
            " <<<< Warning   2: Incorrect parameter in setpag!   (YYYY)\n"
            " <<<< Warning   2: Incorrect parameter in msgmod!   (loud)\n");
  EXPECT_EQ(nwarns_(), 5);
}

TEST_F(Session, MessagesOffInASessionWithAnErrorFileComeBackThere) {
  use_recording_driver();
  metafl("POST");
  g_ivray.err_to_file = 1;
  disini();
  msgmod("OFF");
  setclr(300);
  msgmod("ON");
  setclr(301);
  capture();
  disfin();
  stdout_text();
  EXPECT_EQ(read_file("stylus.err"),
            " <<<< Warning   2: Incorrect parameter in setclr!   ( 301)\n");
}
