// Where the library puts its files when others share the folder: whatever has the name (a
// link leading anywhere or nowhere, a pipe, a file nobody may read, a file that appears
// while the session draws, the file of a second program ending at the same time) keeps it,
// nothing is written outside the folder, nothing waits, and the end protocol names the file
// that was written. With every version name taken the session runs without a file.
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <thread>

#include "support/child_process.h"
#include "support/fresh_process.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"
#include "records/state.h"
#include "stylus.h"

namespace fs = std::filesystem;

namespace {

void write_text(const std::string& name, const std::string& text) {
  std::ofstream(name, std::ios::binary) << text;
}

// What a name in the folder is: kind, size, inode, change time, link target. Two equal
// records mean nothing was replaced, written or moved.
std::string describe(const fs::path& p) {
  struct stat st {};
  if (::lstat(p.c_str(), &st) != 0) return "missing";
  std::string d = std::to_string(st.st_mode) + ":" + std::to_string(st.st_size) + ":" +
                  std::to_string(st.st_ino) + ":" + std::to_string(st.st_ctim.tv_sec) + "." +
                  std::to_string(st.st_ctim.tv_nsec);
  if (S_ISLNK(st.st_mode)) d += "->" + fs::read_symlink(p).string();
  return d;
}

std::map<std::string, std::string> snapshot(const fs::path& dir) {
  std::map<std::string, std::string> s;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    s[e.path().lexically_relative(dir).string()] = describe(e.path());
  return s;
}

// Every name that was there is there unchanged.
void expect_untouched(const std::map<std::string, std::string>& before, const fs::path& dir) {
  for (const auto& [name, what] : before) EXPECT_EQ(describe(dir / name), what) << name;
}

// A short session that draws a curve; the program prints a line after disfin.
void session(const char* device) {
  fresh_process();
  metafl(device);
  disini();
  graf(0.0f, 3.0f, 0.0f, 1.0f, 0.0f, 3.0f, 0.0f, 1.0f);
  const float x[] = {0.0f, 1.0f, 2.0f, 3.0f}, y[] = {0.0f, 2.0f, 1.0f, 3.0f};
  curve(x, y, 4);
  disfin();
  std::printf("the program goes on\n");
}

// The file the end protocol names ("" for none).
std::string protocol_file(const std::string& out) {
  std::smatch m;
  if (!std::regex_search(out, m, std::regex(" <<  Metafile: ?(\\S*) +<<"))) return "?";
  return m[1];
}

// Waits for the child at most `seconds`; a child still running then has hung.
int finish(ChildProcess& child, int seconds = 60) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (child.running()) {
    if (std::chrono::steady_clock::now() > deadline) {
      ADD_FAILURE() << "the program hangs";
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return child.wait();
}

struct Placed {
  int status;
  std::string out, file;
};
Placed run(const char* device, std::function<void()> before = {}) {
  ChildProcess child(
      [&] {
        if (before) before();
        session(device);
      },
      {});
  Placed p{finish(child), child.out(), ""};
  p.file = protocol_file(p.out);
  EXPECT_NE(p.out.find("the program goes on\n"), std::string::npos) << p.out;
  return p;
}

TEST(FilePlacement, ALinkLeadingNowhereIsATakenName) {
  for (const char* device : {"POST", "PNG"}) {
    SCOPED_TRACE(device);
    ScratchDir dir;
    fs::create_directory("elsewhere");
    const std::string ext = device[0] == 'P' && device[1] == 'O' ? "psc" : "png";
    fs::create_symlink("elsewhere/planted." + ext, "stylus." + ext);
    const auto before = snapshot(dir.path());
    const Placed p = run(device);
    EXPECT_EQ(p.status, 0);
    EXPECT_EQ(p.file, "stylus_1." + ext);
    EXPECT_TRUE(fs::is_regular_file("stylus_1." + ext));
    EXPECT_TRUE(fs::is_empty("elsewhere"));
    expect_untouched(before, dir.path());
  }
}

TEST(FilePlacement, ALinkToAFileLeavesTheFileAlone) {
  ScratchDir dir;
  fs::create_directory("elsewhere");
  write_text("elsewhere/victim.txt", "keep me\n");
  fs::create_symlink("elsewhere/victim.txt", "stylus.psc");
  const auto before = snapshot(dir.path());
  const Placed p = run("POST");
  EXPECT_EQ(p.file, "stylus_1.psc");
  EXPECT_EQ(read_file("elsewhere/victim.txt"), "keep me\n");
  EXPECT_EQ(read_file("stylus_1.psc").substr(0, 2), "%!");
  expect_untouched(before, dir.path());
}

TEST(FilePlacement, AFileThatAppearsDuringTheSessionIsKept) {
  for (const char* device : {"POST", "PNG"}) {
    SCOPED_TRACE(device);
    ScratchDir dir;
    const std::string name = device[1] == 'O' ? "stylus.psc" : "stylus.png";
    ChildProcess child(
        [&] {
          fresh_process();
          metafl(device);
          disini();
          write_text(name, "another program's file\n");  // while the session draws
          disfin();
        },
        {});
    EXPECT_EQ(finish(child), 0);
    EXPECT_EQ(read_file(name), "another program's file\n");
    EXPECT_EQ(protocol_file(child.out()), device[1] == 'O' ? "stylus_1.psc" : "stylus_1.png");
    EXPECT_TRUE(fs::is_regular_file(protocol_file(child.out())));
  }
}

TEST(FilePlacement, TheErrorFileImagesAndTheOffScreenPictureKeepLinksAlone) {
  ScratchDir dir;
  fs::create_directory("elsewhere");
  for (const char* name : {"stylus.err", "pic.png", "stylus.png"})
    fs::create_symlink(std::string("elsewhere/") + name, name);
  const auto before = snapshot(dir.path());
  ChildProcess child(
      [] {
        fresh_process();
        winini();  // the session's warnings go to the error file
        metafl("VIRT");
        disini();
        color("PINK");
        rpng("pic.png");
        disfin();
        metafl("CONS");  // without a display: drawn off-screen and kept as a file
        disini();
        disfin();
      },
      {"DISPLAY"});
  EXPECT_EQ(finish(child), 0);
  EXPECT_NE(child.out().find("\n Error file    : stylus_1.err"), std::string::npos) << child.out();
  EXPECT_NE(child.err().find("the off-screen picture is saved as stylus_1.png\n"),
            std::string::npos)
      << child.err();
  EXPECT_NE(read_file("stylus_1.err").find("Warning   2"), std::string::npos);
  EXPECT_EQ(read_file("pic_1.png").substr(1, 3), "PNG");
  EXPECT_EQ(read_file("stylus_1.png").substr(1, 3), "PNG");
  EXPECT_TRUE(fs::is_empty("elsewhere"));
  expect_untouched(before, dir.path());
}

TEST(FilePlacement, TwoProgramsEndingTogetherKeepBothFiles) {
  ScratchDir dir;
  int ready[2], go[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(go), 0);
  // Both programs choose stylus.psc at their start; both end at once.
  auto program = [&](int points) {
    return [&, points] {
      fresh_process();
      metafl("POST");
      disini();
      graf(0.0f, 3.0f, 0.0f, 1.0f, 0.0f, 3.0f, 0.0f, 1.0f);
      const float x[] = {0.0f, 1.0f, 2.0f, 3.0f}, y[] = {0.0f, 2.0f, 1.0f, 3.0f};
      curve(x, y, points);
      char c = 'r';
      (void)!::write(ready[1], &c, 1);
      (void)!::read(go[0], &c, 1);
      disfin();
      // What this program wrote, for the comparison with the file the protocol names.
      std::printf("size %zu\n", read_file(stylus::g_control.metafile_name).size());
    };
  };
  ChildProcess a(program(2), {}), b(program(4), {});
  char c;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  ASSERT_EQ(::write(go[1], "gg", 2), 2);
  EXPECT_EQ(finish(a), 0);
  EXPECT_EQ(finish(b), 0);
  for (int fd : {ready[0], ready[1], go[0], go[1]}) ::close(fd);
  const std::string fa = protocol_file(a.out()), fb = protocol_file(b.out());
  EXPECT_NE(fa, fb);
  for (auto [file, out] : {std::pair{fa, a.out()}, std::pair{fb, b.out()}}) {
    EXPECT_TRUE(file == "stylus.psc" || file == "stylus_1.psc") << file;
    EXPECT_NE(out.find("size " + std::to_string(read_file(file).size()) + "\n"), std::string::npos);
  }
  EXPECT_NE(read_file(fa), read_file(fb));
}

TEST(FilePlacement, AFileNobodyMayReadIsATakenName) {
  ScratchDir dir;
  // A folder shared by everyone, as /tmp is, holding another user's unreadable file.
  fs::permissions(dir.path(), fs::perms::all | fs::perms::sticky_bit);
  write_text("stylus.psc", "private\n");
  fs::permissions("stylus.psc", fs::perms::none);
  const bool root = ::geteuid() == 0;
  if (root && ::getpwnam("nobody") == nullptr) GTEST_SKIP() << "no unprivileged user to run as";
  const auto before = snapshot(dir.path());
  // Run as root the test would read any file; the program runs as an unprivileged user.
  const Placed p = run("POST", [root] {
    if (!root) return;
    const passwd* nobody = ::getpwnam("nobody");
    const uid_t u = nobody->pw_uid;
    const gid_t g = nobody->pw_gid;
    if (::setgroups(0, nullptr) != 0 || ::setresgid(g, g, g) != 0 || ::setresuid(u, u, u) != 0)
      std::_Exit(3);
  });
  EXPECT_EQ(p.status, 0);
  EXPECT_EQ(p.file, "stylus_1.psc");
  EXPECT_TRUE(fs::is_regular_file("stylus_1.psc"));
  expect_untouched(before, dir.path());
  fs::permissions("stylus.psc", fs::perms::owner_read);
  EXPECT_EQ(read_file("stylus.psc"), "private\n");
}

TEST(FilePlacement, APipeAtTheNameNeitherWaitsNorIsWritten) {
  ScratchDir dir;
  ASSERT_EQ(::mkfifo("stylus.psc", 0666), 0);
  const auto before = snapshot(dir.path());
  const Placed p = run("POST");
  EXPECT_EQ(p.status, 0);
  EXPECT_EQ(p.file, "stylus_1.psc");
  expect_untouched(before, dir.path());
}

TEST(FilePlacement, WithEveryVersionTakenTheSessionRunsWithoutAFile) {
  ScratchDir dir;
  write_text("stylus.psc", "");
  for (int n = 1; n <= 999; ++n) {
    const int keep = std::max(0, 6 - n / 10);
    write_text(std::string("stylus").substr(0, keep) + "_" + std::to_string(n) + ".psc", "");
  }
  const auto before = snapshot(dir.path());
  const Placed p = run("POST");
  EXPECT_EQ(p.status, 0);
  EXPECT_NE(p.out.find("More than 999 file versions!\n"
                       " <<<< Warning  36: File error in disini!   (stylus.psc)\n"),
            std::string::npos)
      << p.out;
  EXPECT_EQ(p.file, "");
  EXPECT_EQ(snapshot(dir.path()), before);
}

}  // namespace
