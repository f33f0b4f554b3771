// The byte sinks and the byte order of binary numbers: a file appears under its name only
// complete and only where nothing is, a failed write or an abandoned file leaves nothing
// behind, a link is never written through, and numbers come out in their format's order on
// every host.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "devices/byte_order.h"
#include "devices/byte_sink.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

using namespace stylus;
namespace fs = std::filesystem;

namespace {

std::size_t files_in(const fs::path& dir) {
  std::size_t n = 0;
  for (const auto& entry : fs::directory_iterator(dir)) n += entry.is_regular_file() ? 1 : 0;
  return n;
}

TEST(ByteSink, MemoryKeepsEveryByteAndFormats) {
  MemorySink m;
  m.put("ab");
  m.put('\0');
  m.format("%5d|%s", 42, "x");
  EXPECT_EQ(m.bytes(), std::string("ab\0   42|x", 10));
  EXPECT_EQ(m.position(), 10);
  EXPECT_TRUE(m.close());
}

TEST(ByteSink, FileAppearsOnlyWhenClosedAndComplete) {
  ScratchDir dir;
  fs::create_directory("out");
  {
    std::unique_ptr<FileSink> f = FileSink::create("out/plot.met");
    ASSERT_NE(f, nullptr);
    f->put("hello\n");
    EXPECT_EQ(f->position(), 6);
    EXPECT_FALSE(file_exists("out/plot.met"));
    EXPECT_EQ(files_in("out"), 1u);  // the temporary file beside it
    ASSERT_TRUE(f->close());
  }
  EXPECT_EQ(read_file("out/plot.met"), "hello\n");
  EXPECT_EQ(files_in("out"), 1u);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  struct stat st {};
  ASSERT_EQ(::stat("out/plot.met", &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);

  // Abandoned before the end: nothing is left, and an older file of the name stays.
  {
    std::unique_ptr<FileSink> f = FileSink::create("out/plot.met");
    ASSERT_NE(f, nullptr);
    f->put("half");
  }
  EXPECT_EQ(read_file("out/plot.met"), "hello\n");
  EXPECT_EQ(files_in("out"), 1u);
  EXPECT_EQ(FileSink::create("missing/plot.met"), nullptr);
}

TEST(ByteSink, AFailedWriteLeavesNoFile) {
  ScratchDir dir;
  // The child runs with a file-size limit, as on a disk that fills up.
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::unique_ptr<FileSink> f = FileSink::create("big.png");
    if (!f) ::_exit(2);
    const std::string block(1000, 'x');
    for (int i = 0; i < 100; ++i) f->put(block);
    ::_exit(f->failed() && !f->close() ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(files_in(dir.path()), 0u);
}

TEST(ByteSink, ALinkAtTheNameIsATakenNameNeverWrittenThrough) {
  ScratchDir dir;
  fs::create_directory("real");
  fs::create_symlink("real/target.psc", "plot.psc");  // leads nowhere yet
  std::string placed;
  ASSERT_TRUE(write_whole_file("plot.psc", "beside", nullptr, &placed));
  EXPECT_EQ(placed, "plot_1.psc");
  EXPECT_EQ(read_file("plot_1.psc"), "beside");
  EXPECT_TRUE(fs::is_symlink("plot.psc"));
  EXPECT_FALSE(fs::exists("real/target.psc"));
}

TEST(ByteSink, ANameTakenWhileWritingGetsTheNextVersionOfTheBaseName) {
  ScratchDir dir;
  write_whole_file("a.met", "first");
  std::unique_ptr<FileSink> f = FileSink::create("a_1.met", "a.met", 8);
  ASSERT_NE(f, nullptr);
  f->put("mine");
  write_whole_file("a_1.met", "theirs");
  ASSERT_TRUE(f->close());
  EXPECT_EQ(f->name(), "a_2.met");  // a version of a.met, not a_1_1.met
  EXPECT_EQ(read_file("a_1.met"), "theirs");
  EXPECT_EQ(read_file("a_2.met"), "mine");
}

TEST(ByteSink, PatchRewritesBytesAlreadyWritten) {
  ScratchDir dir;
  std::unique_ptr<FileSink> f = FileSink::create("h.wmf");
  ASSERT_NE(f, nullptr);
  f->put("0000body");
  f->patch(1, "XY", 2);
  f->put("end");
  ASSERT_TRUE(f->close());
  EXPECT_EQ(read_file("h.wmf"), "0XY0bodyend");
  MemorySink m;
  m.put("0000");
  m.patch(2, "Z", 1);
  EXPECT_EQ(m.bytes(), "00Z0");
}

}  // namespace

namespace {

TEST(ByteOrder, FixedOrderWhateverTheHost) {
  std::string b;
  put_u16_be(b, 0x0A0B);
  put_u32_be(b, 0x01020304);
  put_u16_le(b, 0x0A0B);
  put_u32_le(b, 0xF1F2F3F4);
  EXPECT_EQ(b, std::string("\x0A\x0B\x01\x02\x03\x04\x0B\x0A\xF4\xF3\xF2\xF1", 12));
  EXPECT_EQ(get_u16_be(b, 0), 0x0A0Bu);
  EXPECT_EQ(get_u32_be(b, 2), 0x01020304u);
  EXPECT_EQ(get_u16_le(b, 6), 0x0A0Bu);
  EXPECT_EQ(get_u32_le(b, 8), 0xF1F2F3F4u);
}

}  // namespace
