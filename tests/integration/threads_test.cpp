// Two threads plotting at once, one on PostScript and one on PNG, several sessions each:
// every session is its thread's (calls of the other thread wait until it has ended, its
// device is the one its thread chose), every file is the one a session alone writes, and
// every protocol names its own file.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <thread>

#include "records/protocol.h"
#include "stylus.h"
#include "support/fixed_clock.h"
#include "support/fresh_process.h"
#include "support/scratch_dir.h"
#include "support/stdout_capture.h"
#include "support/text_files.h"

namespace {

// A session of some calls with a pause between them, so that the other thread has its
// chances to come in between.
void session(const char* device) {
  metafl(device);
  std::this_thread::yield();
  disini();
  graf(0.0f, 10.0f, 0.0f, 2.0f, 0.0f, 10.0f, 0.0f, 2.0f);
  for (int i = 0; i < 5; ++i) {
    const float x[] = {0.0f, 3.0f, 6.0f, 9.0f}, y[] = {1.0f + i, 8.0f, 2.0f, 9.0f - i};
    curve(x, y, 4);
    std::this_thread::yield();
  }
  messag(device, 300, 300);
  disfin();
}

TEST(Threads, TwoThreadsKeepTheirSessionsFilesAndProtocols) {
  ScratchDir dir;
  fresh_process();
  stylus::set_local_time_source(fixed_test_time);
  msgmod("ON");
  // What one session alone writes.
  StdoutCapture capture;
  capture.start();
  session("POST");
  session("PNG");
  capture.text();
  const std::string reference_psc = read_file("stylus.psc"),
                    reference_png = read_file("stylus.png");
  std::filesystem::remove("stylus.psc");
  std::filesystem::remove("stylus.png");

  constexpr int kSessions = 8;
  capture.start();
  std::thread postscript([] {
    for (int i = 0; i < kSessions; ++i) session("POST");
  });
  std::thread png([] {
    for (int i = 0; i < kSessions; ++i) session("PNG");
  });
  postscript.join();
  png.join();
  const std::string out = capture.text();

  // Nothing but the protocols: no warning of a call that came into the other's session.
  EXPECT_EQ(out.find("<<<< Warning"), std::string::npos) << out;
  std::map<std::string, int> formats;
  std::set<std::string> files;
  const std::regex box(
      "Warnings: 0         Fileformat: (POST| PNG)  <<\n <<  Metafile: (\\S+) +<<\n");
  for (auto m = std::sregex_iterator(out.begin(), out.end(), box); m != std::sregex_iterator();
       ++m) {
    const std::string format = (*m)[1], file = (*m)[2];
    ++formats[format];
    EXPECT_TRUE(files.insert(file).second) << file << " named twice";
    EXPECT_EQ(file.substr(file.size() - 4), format == "POST" ? ".psc" : ".png") << file;
    EXPECT_TRUE(read_file(file) == (format == "POST" ? reference_psc : reference_png)) << file;
  }
  EXPECT_EQ(formats["POST"], kSessions);
  EXPECT_EQ(formats[" PNG"], kSessions);
  std::size_t on_disk = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++on_disk;
  EXPECT_EQ(on_disk, 2u * kSessions);
  fresh_process();
}

// Each routine of the header holds the library for its run and keeps exceptions in: its
// definition is a function-try-block that starts with an ApiCall.
TEST(Threads, EveryPublicRoutineRunsAloneBehindItsBoundary) {
  const std::string header = read_file(std::string(STYLUS_SOURCE_DIR) + "/plot/stylus.h");
  std::string sources;
  for (const auto& e :
       std::filesystem::recursive_directory_iterator(std::string(STYLUS_SOURCE_DIR) + "/plot"))
    if (e.path().extension() == ".cpp") sources += read_file(e.path());
  const std::regex declaration("STYLUS_API (?:const )?[a-z]+\\*? ?([a-z_0-9]+)\\(");
  int routines = 0;
  for (auto m = std::sregex_iterator(header.begin(), header.end(), declaration);
       m != std::sregex_iterator(); ++m, ++routines) {
    const std::regex definition("[ *]" + (*m)[1].str() +
                                "\\([^;{}]*\\) try \\{\n  const ApiCall call;\n");
    EXPECT_TRUE(std::regex_search(sources, definition)) << (*m)[1];
  }
  EXPECT_GE(routines, 88);
}

}  // namespace
