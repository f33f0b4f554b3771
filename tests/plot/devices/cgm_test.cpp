// The CGM writer: the element encoding against the format's own bytes, a whole session
// file byte for byte (header, the colour of the picture, one LINE COLOUR for two equal
// colour changes, the end), and the 50-point polyline buffer with its remembered end.
#include <gtest/gtest.h>

#include <string>

#include "api/session.h"
#include "devices/cgm.h"
#include "devices/device_table.h"
#include "devices/record_buffer.h"
#include "pen/pen.h"
#include "records/protocol.h"
#include "stylus.h"
#include "support/fixed_clock.h"
#include "support/fresh_process.h"
#include "support/scratch_dir.h"
#include "support/text_files.h"

using namespace stylus;

namespace {

// Bytes from a hex text; blanks are for reading only.
std::string hex(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ') continue;
    out.push_back(static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16)));
    ++i;
  }
  return out;
}

const std::string kDescription =
    R"("ProfileId:CALS","ProfileEd:1.0","Source:STYLUS  7.3","Date:20261207",)"
    R"("ColourClass:colour")";

// Everything from BEGIN METAFILE to BEGIN PICTURE BODY on the default page.
std::string header_bytes(const std::string& file_name) {
  return hex("00 3F 00") + static_cast<char>(file_name.size() + 1) +
         static_cast<char>(file_name.size()) + file_name +
         (file_name.size() % 2 == 0 ? std::string(1, '\0') : "") + hex("10 22 00 01") +
         hex("10 5F 00 5B 5A") + kDescription + std::string(1, '\0') +
         hex("11 66 00 01 FF FF 00 01") + hex("00 7F 00 0A 09") + "Picture 1" + hex("20 42 00 01") +
         hex("20 C8 0000 0000 1732 1066") + hex("20 E4 FF FF FF 00") + hex("00 80");
}

class CgmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    set_local_time_source(fixed_test_time);
  }
  void TearDown() override { fresh_process(); }
};

TEST_F(CgmTest, ElementEncodingGivesTheBytesOfTheFormat) {
  std::string b;
  cgm::put_header(b, 1, 1, 2);  // METAFILE VERSION
  cgm::put_header(b, 2, 6, 8);  // VDC EXTENT
  cgm::put_header(b, 5, 4, 3);  // LINE COLOUR
  cgm::put_header(b, 0, 4, 0);  // BEGIN PICTURE BODY
  EXPECT_EQ(b, hex("10 22 20 C8 50 83 00 80"));
  b.clear();
  cgm::put_long_header(b, 4, 1, 8);  // POLYLINE of two points
  EXPECT_EQ(b, hex("40 3F 00 08"));
  b.clear();
  cgm::put_word(b, -1);
  cgm::put_word(b, 0x12345);  // beyond 16 bits: the low 16 kept
  cgm::put_word(b, 4198);
  EXPECT_EQ(b, hex("FF FF 23 45 10 66"));

  // A text of even length ends with a pad byte, one of odd length needs none.
  b.clear();
  cgm::put_header(b, 0, 1, cgm::kLongForm);
  qqcgm1(b, "stylus.cgm");
  EXPECT_EQ(b, hex("00 3F 00 0B 0A") + "stylus.cgm" + std::string(1, '\0'));
  b.clear();
  qqcgm1(b, "Picture 1");
  EXPECT_EQ(b, hex("00 0A 09") + "Picture 1");
  b.clear();
  qqcgm1(b, std::string(300, 'x'));  // cut to what a one-byte count holds
  EXPECT_EQ(b.substr(0, 3), hex("00 FF FE"));
  EXPECT_EQ(b.size(), 3u + 254u + 1u);

  const std::string d = cgm::description(1, getver(), "07.12.2026");
  EXPECT_EQ(d, kDescription);
  EXPECT_EQ(d.size(), 90u);
}

// A whole session: the file is the header, the session's first colour (black) right after
// BEGIN PICTURE BODY, red once although set twice, the line, and the end: the pen moved
// to the page origin (a one-point polyline), END PICTURE, END METAFILE, blanks to 80 bytes.
TEST_F(CgmTest, SessionFileByteForByte) {
  ScratchDir dir;
  ::testing::internal::CaptureStdout();
  metafl("CGM");
  disini();
  EXPECT_EQ(g_xvray.page_scale, 2.0f);
  color("red");
  color("red");
  lineqq(5, 10, 15, 20);
  disfin();
  const std::string printed = ::testing::internal::GetCapturedStdout();
  std::string expected = header_bytes("stylus.cgm") + hex("50 83 00 00 00 00") +
                         hex("50 83 FF 00 00 00") + hex("40 3F 00 08 000A 1052 001E 103E") +
                         hex("40 3F 00 04 0000 1066") + hex("00 A0 00 40");
  expected.append(240 - expected.size(), ' ');
  EXPECT_EQ(read_file("stylus.cgm"), expected);
  // The move to the origin at the end counts as a vector.
  EXPECT_NE(printed.find("Vectors : 3 "), std::string::npos) << printed;
  EXPECT_NE(printed.find("Metafile: stylus.cgm "), std::string::npos) << printed;

  // The next session writes stylus_1.cgm and names it so in BEGIN METAFILE.
  ::testing::internal::CaptureStdout();
  disini();
  disfin();
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(read_file("stylus_1.cgm").substr(0, 18),
            hex("00 3F 00 0D 0C") + "stylus_1.cgm" + std::string(1, '\0'));
}

// On a driver of its own: the polyline buffer (whole points, 16 bits, 50 points a
// polyline), the next picture (no routine asks for one yet: the pending polyline still
// goes into the old picture, the new one states the colour in use), and a draw without a
// move continuing from the last point written, also in the next session's driver.
TEST_F(CgmTest, PolylineBufferNextPictureAndTheRememberedEnd) {
  metafl("CGM");
  MemorySink sink;
  CgmDriver driver(driver_memory().cgm);
  start_driver(driver, nullptr, &sink);
  driver.color({254, {255, 0, 0}, 0});
  std::size_t from = sink.bytes().size() + driver.records()->fill();
  auto written = [&] {  // the bytes since the last call, the pending record padded
    driver.records()->flush();
    const std::string b = sink.bytes().substr(from);
    from = sink.bytes().size();
    return b;
  };

  driver.drwcgm(10.0f, 20.4f, kPenMove);
  driver.drwcgm(29.5f, 40.0f, kPenDraw);
  driver.flush();
  EXPECT_EQ(written().substr(0, 12), hex("40 3F 00 08 00 0A 00 14 00 1E 00 28"));

  // A move and 60 draws: a polyline of 50 points, then one from its last point on.
  driver.drwcgm(0.0f, 0.0f, kPenMove);
  for (int i = 1; i <= 60; ++i) driver.drwcgm(static_cast<float>(i), 0.0f, kPenDraw);
  driver.flush();
  const std::string lines = written();
  ASSERT_GE(lines.size(), 4u + 200u + 4u + 48u);
  EXPECT_EQ(lines.substr(0, 4), hex("40 3F 00 C8"));
  EXPECT_EQ(lines.substr(4 + 196, 4), hex("00 31 00 00"));  // point 49
  EXPECT_EQ(lines.substr(204, 8), hex("40 3F 00 30 00 31 00 00"));
  EXPECT_EQ(lines.substr(204 + 4 + 44, 4), hex("00 3C 00 00"));  // point 60

  // The next session's driver continues from (60, 0).
  CgmDriver next(driver_memory().cgm);
  MemorySink sink2;
  start_driver(next, nullptr, &sink2);
  const std::size_t header = sink2.bytes().size() + next.records()->fill();
  next.drwcgm(70000.0f, 5.0f, kPenDraw);  // beyond 16 bits: the low 16 kept
  next.flush();
  next.records()->flush();
  EXPECT_EQ(sink2.bytes().substr(header, 12), hex("40 3F 00 08 00 3C 00 00 11 70 00 05"));
}

}  // namespace
