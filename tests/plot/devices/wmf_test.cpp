// The Windows metafile device: the records of a session on the default page call by call,
// the bytes of pens, fills and clamped coordinates, the header checked against the records
// (also of a file written as it is recorded), a page too large for twips, and a file that
// cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "devices/wmf.h"
#include "pen/pen.h"
#include "support/state_fixture.h"
#include "stylus.h"
#include "support/wmf_records.h"

using namespace stylus;

namespace {

std::string hex(const std::string& bytes) {
  std::string out;
  char buf[3];
  for (unsigned char c : bytes) {
    std::snprintf(buf, sizeof buf, "%02x", c);
    out += buf;
  }
  return out;
}

std::string strip(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
  return s;
}

// A record as its function number and parameter words: "020c 11920 16852".
std::vector<std::string> describe(const WmfFile& f) {
  std::vector<std::string> out;
  for (const WmfRecord& r : f.records) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04x", r.function);
    std::string s = buf;
    for (std::size_t i = 0; i < r.params.size() / 2; ++i) {
      s += ' ';
      s += std::to_string(r.word(i));
    }
    out.push_back(s);
  }
  return out;
}

// The header's size, largest record and object count are those of the records: objects
// take the lowest free index, deleting frees it, and only live objects are used.
void expect_header_matches_records(const WmfFile& f, std::size_t file_size) {
  ASSERT_EQ(f.error, "");
  EXPECT_EQ(f.type, 1);
  EXPECT_EQ(f.header_words, 9);
  EXPECT_EQ(f.version, 0x0300);
  EXPECT_EQ(f.members, 0);
  std::size_t words = 9;
  std::uint32_t largest = 0;
  std::vector<bool> live;
  for (const WmfRecord& r : f.records) {
    words += r.words;
    largest = std::max(largest, r.words);
    if (r.function == kWmfCreatePenIndirect || r.function == kWmfCreateBrushIndirect) {
      const auto slot = std::find(live.begin(), live.end(), false);
      if (slot == live.end())
        live.push_back(true);
      else
        *slot = true;
    } else if (r.function == kWmfSelectObject || r.function == kWmfDeleteObject) {
      const auto i = static_cast<std::size_t>(r.word(0));
      ASSERT_TRUE(i < live.size() && live[i]) << "object " << i << " is not live";
      if (r.function == kWmfDeleteObject) live[i] = false;
    }
  }
  EXPECT_EQ(2 * words, file_size);
  EXPECT_EQ(f.size_words, words);
  EXPECT_EQ(f.max_record, largest);
  EXPECT_EQ(f.objects, live.size());
}

using WmfTest = StateTest;

TEST_F(WmfTest, SessionOnTheDefaultPageRecordsEveryCallInTwips) {
  metafl("WMF");
  disini();
  strtqq(100, 200);
  connqq(300, 200);
  connqq(300, 400);
  color("RED");
  color("RED");
  capture();
  disfin();
  EXPECT_NE(stdout_text().find("Metafile: stylus.wmf "), std::string::npos);

  const std::string bytes = read_file("stylus.wmf");
  const WmfFile f = read_wmf(bytes);
  expect_header_matches_records(f, bytes.size());
  // SetMapMode 8, SetWindowOrg (0, 0), SetWindowExt 16852 x 11920, y before x.
  EXPECT_EQ(hex(bytes.substr(18, 28)),
            strip("04000000 0301 0800  05000000 0b02 0000 0000  05000000 0c02 902e d441"));
  // clang-format off
  const std::vector<std::string> expected = {
      "0103 8", "020b 0 0", "020c 11920 16852",
      "02fa 0 1 0 0 0", "0209 0 0", "012d 0",                // black pen of the session start
      "0214 1134 567", "0213 1134 1701", "0213 2268 1701",
      "02fa 0 1 0 255 0", "0209 255 0", "012d 1", "01f0 0",  // red replaces black
      "02fa 0 1 0 255 0", "0209 255 0", "012d 0", "01f0 1",  // red again: a new pen
      "0214 0 0", "0000"};                                   // the end's move to the origin
  // clang-format on
  EXPECT_EQ(describe(f), expected);
  EXPECT_EQ(g_ivray.n_vectors, 4);
}

TEST_F(WmfTest, PensFillsAndCoordinatesByteForByte) {
  WmfDriver d;
  d.qqwmf1(100, 50);
  d.qqwmf3({255, 0, 0});
  d.qqwmf5(10, 20, 30, 40, {0, 0, 255});
  d.qqwmf5(1, 2, 3, 4, {0, 255, 0});
  d.qqwmf4(40000, -40000, kPenDraw);  // held to the 16-bit range
  MemorySink file;
  EXPECT_EQ(d.qqwmf2(&file), 1);
  EXPECT_EQ(d.qqwmf2(&file), 0);  // closed: nothing more to write
  const std::string bytes = file.bytes();
  EXPECT_EQ(hex(bytes), strip("0100 0900 0003 6f000000 0300 09000000 0000"
                              "04000000 0301 0800  05000000 0b02 0000 0000  05000000 0c02 4600 7800"
                              "08000000 fa02 0000 0100 0000 ff000000  05000000 0902 ff000000"
                              "04000000 2d01 0000"
                              // blue brush 1, the player's white brush recorded as 2
                              "07000000 fc02 0000 0000ff00 0000  04000000 2d01 0100"
                              "09000000 1d06 2100f000 2800 1e00 1400 0a00"
                              "07000000 fc02 0000 ffffff00 0000  04000000 2d01 0200"
                              "04000000 f001 0100"
                              // green brush takes the freed index 1
                              "07000000 fc02 0000 00ff0000 0000  04000000 2d01 0100"
                              "09000000 1d06 2100f000 0400 0300 0200 0100"
                              "04000000 2d01 0200  04000000 f001 0100"
                              "05000000 1302 0080 ff7f  03000000 0000"));
  expect_header_matches_records(read_wmf(bytes), bytes.size());
}

// Records go into the output as they come; the file is the one a recording kept in memory
// gives, header included.
TEST_F(WmfTest, RecordsStreamedIntoTheOutputMakeTheSameFile) {
  for (const bool streamed : {false, true}) {
    WmfDriver d;
    MemorySink out;
    d.qqwmf1(3000, 2000, streamed ? &out : nullptr);
    for (int i = 0; i < 20000; ++i) {  // far more records than the recorder holds
      if (i % 1000 == 0) d.qqwmf3({i % 256, 0, 0});
      d.qqwmf4(i % 3000, i % 2000, i % 7 == 0 ? kPenMove : kPenDraw);
    }
    MemorySink file;
    EXPECT_EQ(d.qqwmf2(&file), 1);
    const std::string& bytes = streamed ? out.bytes() : file.bytes();
    EXPECT_EQ(streamed ? file.bytes().size() : out.bytes().size(), 0u);
    expect_header_matches_records(read_wmf(bytes), bytes.size());
    static std::string kept;
    if (streamed) {
      EXPECT_EQ(bytes, kept);
    } else {
      kept = bytes;
    }
  }
}

// A page of more than 32767 twips is recorded in larger units instead of wrapping round.
TEST_F(WmfTest, LargePageFitsTheSixteenBitCoordinates) {
  setpag("DA1L");
  metafl("WMF");
  disini();
  strtqq(0, 0);
  connqq(8399, 5939);
  capture();
  disfin();
  stdout_text();
  const WmfFile f = read_wmf(read_file("stylus.wmf"));
  ASSERT_EQ(f.error, "");
  EXPECT_EQ(describe(f)[2], "020c 23176 32767");
  EXPECT_EQ(describe(f)[7], "0213 23156 32747");  // the far corner of the page
}

TEST_F(WmfTest, UnwritableFileLeavesNothingAndWarns) {
  // The working folder is removed under the program: the file cannot be made.
  const std::filesystem::path home = std::filesystem::current_path();
  std::filesystem::create_directory("gone");
  std::filesystem::current_path("gone");
  std::filesystem::remove(home / "gone");
  metafl("WMF");
  capture();
  disini();
  xjdraw(10, 10, kPenMove);
  disfin();
  std::filesystem::current_path(home);
  const std::string out = stdout_text();
  EXPECT_NE(out.find("Warning  36: File error"), std::string::npos) << out;
  EXPECT_NE(out.find("Metafile:                 "), std::string::npos) << out;
  EXPECT_TRUE(std::filesystem::is_empty("."));
}

}  // namespace
