// The library under an address-space limit, in child processes: the Windows metafile of a
// drawing far larger than the memory allowed is written whole (its records go to the file
// as they come), and a raster or an off-screen window that cannot be had gives warning 53
// and a session without output, after which the program goes on.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/fresh_process.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"
#include "devices/byte_order.h"
#include "devices/headless_window_system.h"
#include "devices/screen_driver.h"
#include "records/state.h"
#include "stylus.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;  // AddressSanitizer reserves terabytes of address space
#else
constexpr bool kSanitized = false;
#endif

// Limits the address space of this (child) process to what it uses now and `more` bytes.
void limit_memory(long more) {
  long pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  const rlim_t limit = static_cast<rlim_t>(pages * ::sysconf(_SC_PAGESIZE) + more);
  const rlimit r{limit, limit};
  if (::setrlimit(RLIMIT_AS, &r) != 0) std::_Exit(3);
}

TEST(MemoryLimits, AWindowsMetafileLargerThanTheMemoryIsWrittenWhole) {
  if (kSanitized) GTEST_SKIP() << "no address-space limit under AddressSanitizer";
  ScratchDir dir;
  ChildProcess child(
      [] {
        fresh_process();
        std::vector<float> x(300000), y(300000);
        for (std::size_t i = 0; i < x.size(); ++i) {
          x[i] = static_cast<float>(i) / static_cast<float>(x.size());
          y[i] = static_cast<float>(i % 1000) / 1000.0f;
        }
        std::printf("start\n");   // the output buffer is there before the limit
        limit_memory(32L << 20);  // the file takes more than twice that
        metafl("WMF");
        disini();
        graf(0.0f, 1.0f, 0.0f, 0.5f, 0.0f, 1.0f, 0.0f, 0.5f);
        linwid(20);
        curve(x.data(), y.data(), static_cast<int>(x.size()));
        disfin();
        std::printf("the program goes on\n");
      },
      {});
  EXPECT_EQ(child.wait(), 0);
  const std::string out = child.out();
  EXPECT_EQ(out.find("Warning  53"), std::string::npos) << out;
  EXPECT_NE(out.find("Metafile: stylus.wmf "), std::string::npos) << out;
  EXPECT_NE(out.find("the program goes on\n"), std::string::npos) << out;
  const std::string wmf = read_file("stylus.wmf");
  ASSERT_GT(wmf.size(), 64u << 20);
  // The header names the whole file, which ends with the end-of-file record.
  EXPECT_EQ(stylus::get_u16_le(wmf, 0), 1u);
  EXPECT_EQ(2 * static_cast<std::size_t>(stylus::get_u32_le(wmf, 6)), wmf.size());
  EXPECT_EQ(wmf.substr(wmf.size() - 6), std::string("\x03\x00\x00\x00\x00\x00", 6));
}

TEST(MemoryLimits, APictureThatCannotBeAllocatedGivesASessionWithoutOutput) {
  if (kSanitized) GTEST_SKIP() << "no address-space limit under AddressSanitizer";
  const struct {
    const char* device;
    const char* message;
  } cases[] = {{"PNG", " >>>> Not enough memory for virtual device\n"},
               {"TIFF", " >>>> Not enough memory for virtual device\n"},
               {"IMAG", " >>>> Not enough memory for virtual device\n"},
               {"VIRT", " >>>> Not enough memory for virtual device\n"},
               {"CONS", "disini:\nCannot create Bitmap\n"}};  // the off-screen window
  for (const auto& c : cases) {
    SCOPED_TRACE(c.device);
    ScratchDir dir;
    ChildProcess child(
        [&] {
          fresh_process();
          // A large raster (2000 x 2000), a large screen for the window drawn off-screen.
          stylus::set_screen_window_system(
              std::make_unique<stylus::HeadlessWindowSystem>(stylus::ScreenInfo{6000, 5000, 24}));
          metafl(c.device);
          stylus::g_ivray.screen_opts[stylus::kScreenSizeOption] = 1;
          stylus::g_ivray.screen_opts[stylus::kScreenWidth] = 2000;
          stylus::g_ivray.screen_opts[stylus::kScreenHeight] = 2000;
          std::printf("start\n");
          limit_memory(1L << 20);
          disini();
          graf(0.0f, 3.0f, 0.0f, 1.0f, 0.0f, 3.0f, 0.0f, 1.0f);
          const float x[] = {0, 1, 2, 3}, y[] = {0, 2, 1, 3};
          curve(x, y, 4);
          rpng("picture.png");
          disfin();
          std::printf("the program goes on\n");
        },
        {});
    EXPECT_EQ(child.wait(), 0);
    const std::string out = child.out();
    EXPECT_EQ(out.find(std::string("start\n") + c.message +
                       " <<<< Warning  53: Not enough memory in disini!\n"),
              0u)
        << out;
    EXPECT_NE(out.find(" <<  Metafile:                                                   <<"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("the program goes on\n"), std::string::npos) << out;
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  }
}

}  // namespace
