// The record buffer of the file devices: text records of at most 80 characters that never
// split an item, exact 80-byte CGM records, and the token rules of the PostScript buffer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "state/record_buffer.h"
#include "state/state.h"
#include "support/fresh_process.h"
#include "support/memory_stream.h"
#include "support/text_files.h"

using namespace stylus;

namespace {

class RecordBufferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fresh_process();
    g_ivray.device = 401;  // a text format
    g_ivray.rec_len = 80;
    g_ivray.rec_fill = 0;
    g_control.out_stream = out_.file();
  }
  void TearDown() override { fresh_process(); }

  std::vector<std::string> lines() { return split_lines(out_.bytes()); }

  MemoryStream out_;
};

TEST_F(RecordBufferTest, TextItemsFillRecordsWithoutBeingSplit) {
  for (int i = 0; i < 12; ++i) qqsbuf("PD1234567;", 10);  // 10 characters each
  std::string first_record;
  for (int i = 0; i < 8; ++i) first_record += "PD1234567;";
  EXPECT_EQ(out_.bytes(), first_record + "\n");  // written when the ninth item came
  EXPECT_EQ(g_ivray.rec_fill, 40);
  qqsflush();
  const std::vector<std::string> rec = lines();
  ASSERT_EQ(rec.size(), 2u);
  EXPECT_EQ(rec[1].size(), 40u);
  EXPECT_EQ(g_ivray.rec_fill, 0);
  qqsflush();  // nothing pending: no empty record
  EXPECT_EQ(lines().size(), 2u);
}

TEST_F(RecordBufferTest, AnItemThatDoesNotFitStartsTheNextRecord) {
  for (int i = 0; i < 12; ++i) qqsbuf("SP1234;", 7);
  qqsflush();
  const std::vector<std::string> rec = lines();
  ASSERT_EQ(rec.size(), 2u);
  EXPECT_EQ(rec[0].size(), 77u);  // 11 items; the 12th would have made 84
  EXPECT_EQ(rec[1], "SP1234;");
}

TEST_F(RecordBufferTest, AnItemLongerThanARecordIsCutIntoRecords) {
  qqsbuf("ab", 2);
  const std::string big(170, 'x');
  qqsbuf(big.c_str(), 170);
  qqsflush();
  const std::vector<std::string> rec = lines();
  ASSERT_EQ(rec.size(), 4u);
  EXPECT_EQ(rec[0], "ab");
  EXPECT_EQ(rec[1], std::string(80, 'x'));
  EXPECT_EQ(rec[2], std::string(80, 'x'));
  EXPECT_EQ(rec[3], std::string(10, 'x'));
}

TEST_F(RecordBufferTest, CgmRecordsAreExactly80BytesAndSplitItems) {
  g_ivray.device = 211;
  std::string item(30, '\0');
  for (int i = 0; i < 30; ++i) item[i] = static_cast<char>(i);  // binary, zero bytes included
  for (int i = 0; i < 3; ++i) qqsbuf(item.data(), 30);
  const std::string first = out_.bytes();
  ASSERT_EQ(first.size(), 80u);  // 60 bytes and the first 20 of the third item
  EXPECT_EQ(first.substr(60), item.substr(0, 20));
  EXPECT_EQ(g_ivray.rec_fill, 10);
  qqsflush();  // padded with blanks to 80 bytes, no line end
  const std::string all = out_.bytes();
  ASSERT_EQ(all.size(), 160u);
  EXPECT_EQ(all.substr(80, 10), item.substr(20));
  EXPECT_EQ(all.substr(90), std::string(70, ' '));
}

TEST_F(RecordBufferTest, CgmItemSpanningSeveralRecords) {
  g_ivray.device = 211;
  const std::string item(206, 'P');  // a 50-point POLYLINE element
  qqsbuf("ab", 2);
  qqsbuf(item.data(), 206);
  EXPECT_EQ(out_.bytes().size(), 160u);
  EXPECT_EQ(g_ivray.rec_fill, 48);
  // A record that is exactly full is written only when more comes or at the end.
  qqsbuf(item.data(), 32);
  EXPECT_EQ(out_.bytes().size(), 160u);
  EXPECT_EQ(g_ivray.rec_fill, 80);
  qqsflush();
  EXPECT_EQ(out_.bytes(), "ab" + std::string(238, 'P'));
}

TEST_F(RecordBufferTest, PostScriptTokensDropSingleBlanksAndTrailingBytes) {
  g_ivray.device = 501;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%5d %5d u ", 371, 186);
  qpsbuf(buf, 14);
  std::snprintf(buf, sizeof buf, "%5d cm ", 5);
  qpsbuf(buf, 10);  // the length counts the zero byte: the scan stops there
  qpsbuf("setlinewidth ", 13);
  qpsbuf("abc def", 7);  // bytes after the last blank are ignored
  qpsbuf("   ", 3);
  qqsflush();
  EXPECT_EQ(out_.bytes(), "371 186 u 5 cm setlinewidth abc \n");
}

TEST_F(RecordBufferTest, PostScriptRecordsNeverSplitATokenNorExceed80) {
  g_ivray.device = 501;
  for (int i = 0; i < 11; ++i) qpsbuf("1234567 ", 8);
  qpsbuf("p ", 2);
  qqsflush();
  const std::vector<std::string> rec = lines();
  ASSERT_EQ(rec.size(), 2u);
  EXPECT_EQ(rec[0].size(), 80u);  // ten tokens of 8 fill the record exactly
  EXPECT_EQ(rec[1], "1234567 p ");
}

TEST_F(RecordBufferTest, NothingIsWrittenWithoutAStream) {
  g_control.out_stream = nullptr;
  for (int i = 0; i < 100; ++i) {
    qqsbuf("0123456789", 10);
    qpsbuf("token ", 6);
  }
  EXPECT_LE(g_ivray.rec_fill, 80);
  qqsflush();
  EXPECT_EQ(g_ivray.rec_fill, 0);
  g_ivray.device = 211;
  for (int i = 0; i < 100; ++i) qqsbuf("0123456789", 10);
  qqsflush();
  EXPECT_EQ(g_ivray.rec_fill, 0);
  EXPECT_TRUE(out_.bytes().empty());
}

}  // namespace
