// Output files are written whole or not at all: when the folder cannot take a file, or the
// disk fills up while a long curve is written, the session warns with "File error", the
// program goes on to exit 0, no file is left behind and the protocol names no metafile.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/fresh_process.h"
#include "support/scratch_dir.h"
#include "stylus.h"

namespace fs = std::filesystem;

namespace {

// The file devices, the files they write, and whether they make the file at the session
// end (images) rather than open it at the start.
struct FileDevice {
  const char* keyword;
  const char* file;
  bool at_end;
};
const FileDevice kFileDevices[] = {
    {"GKSL", "stylus.met", false}, {"CGM", "stylus.cgm", false},   {"KYOC", "stylus.kyo", false},
    {"HPGL", "stylus.hpg", false}, {"HPA4", "stylus.hpg", false},  {"POST", "stylus.psc", false},
    {"PSCL", "stylus.psc", false}, {"TIFF", "stylus.tif", true},   {"IMAG", "stylus.img", true},
    {"PNG", "stylus.png", true},   {"JAVA", "stylus.java", false}, {"WMF", "stylus.wmf", false},
    {"SVG", "stylus.svg", false},  {"PDF", "stylus.pdf", false}};

// A session on the device that draws a curve of many points, in a child process.
void long_session(const char* device) {
  fresh_process();
  metafl(device);
  disini();
  graf(0.0f, 1.0f, 0.0f, 0.5f, 0.0f, 1.0f, 0.0f, 0.5f);
  std::vector<float> x(200000), y(200000);
  for (std::size_t i = 0; i < x.size(); ++i) {
    x[i] = static_cast<float>(i) / static_cast<float>(x.size());
    y[i] = static_cast<float>(i % 97) / 97.0f;
  }
  curve(x.data(), y.data(), static_cast<int>(x.size()));
  disfin();
}

std::size_t files_in(const fs::path& dir) {
  std::size_t n = 0;
  for (const auto& e : fs::directory_iterator(dir)) n += e.is_regular_file() ? 1 : 0;
  return n;
}

void expect_file_error(ChildProcess& child, const FileDevice& d, const char* where) {
  EXPECT_EQ(child.wait(), 0);
  const std::string out = child.out();
  EXPECT_NE(
      out.find(std::string(" <<<< Warning  36: File error in ") + where + "!   (" + d.file + ")\n"),
      std::string::npos)
      << out;
  EXPECT_NE(out.find(" <<  Metafile:                                                   <<"),
            std::string::npos)
      << out;
}

TEST(FileFaults, AFullDiskLeavesNoFileAndNoMetafileInTheProtocol) {
  for (const FileDevice& d : kFileDevices) {
    SCOPED_TRACE(d.keyword);
    ScratchDir dir;
    ChildProcess child(
        [&] {
          std::signal(SIGXFSZ, SIG_IGN);
          const rlimit limit{1024, 1024};  // far less than any of the files needs
          setrlimit(RLIMIT_FSIZE, &limit);
          long_session(d.keyword);
        },
        {});
    expect_file_error(child, d, "disfin");
    EXPECT_EQ(files_in(dir.path()), 0u);
  }
}

TEST(FileFaults, AFolderThatCannotBeWrittenGivesFileErrorAndNoFile) {
  for (const FileDevice& d : kFileDevices) {
    SCOPED_TRACE(d.keyword);
    ScratchDir dir;
    // The working folder is removed under the program: no file can be made in it.
    fs::create_directory("gone");
    ChildProcess child(
        [&] {
          fs::current_path("gone");
          fs::remove(fs::current_path());
          long_session(d.keyword);
        },
        {});
    expect_file_error(child, d, d.at_end ? "disfin" : "disini");
    EXPECT_FALSE(fs::exists("gone"));
    EXPECT_EQ(files_in(dir.path()), 0u);
  }
}

}  // namespace
