// The record buffer of the file devices: text records of at most 80 characters that never
// split an item, exact 80-byte CGM records, and the token rules of the PostScript buffer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "api/session.h"
#include "devices/record_buffer.h"
#include "devices/postscript.h"
#include "records/state.h"
#include "support/fresh_process.h"
#include "support/text_files.h"

using namespace stylus;

namespace {

class RecordBufferTest : public ::testing::Test {
 protected:
  std::vector<std::string> lines() { return split_lines(out_.bytes()); }

  MemorySink out_;
  RecordBuffer text_{&out_, RecordKind::kText};
  RecordBuffer binary_{&out_, RecordKind::kBinary};
};

TEST_F(RecordBufferTest, TextItemsFillRecordsWithoutBeingSplit) {
  for (int i = 0; i < 12; ++i) text_.append("PD1234567;", 10);  // 10 characters each
  std::string first_record;
  for (int i = 0; i < 8; ++i) first_record += "PD1234567;";
  EXPECT_EQ(out_.bytes(), first_record + "\n");  // written when the ninth item came
  EXPECT_EQ(text_.fill(), 40);
  text_.flush();
  const std::vector<std::string> rec = lines();
  ASSERT_EQ(rec.size(), 2u);
  EXPECT_EQ(rec[1].size(), 40u);
  EXPECT_EQ(text_.fill(), 0);
  text_.flush();  // nothing pending: no empty record
  EXPECT_EQ(lines().size(), 2u);
}

TEST_F(RecordBufferTest, AnItemThatDoesNotFitStartsTheNextRecord) {
  for (int i = 0; i < 12; ++i) text_.append("SP1234;", 7);
  text_.flush();
  const std::vector<std::string> rec = lines();
  ASSERT_EQ(rec.size(), 2u);
  EXPECT_EQ(rec[0].size(), 77u);  // 11 items; the 12th would have made 84
  EXPECT_EQ(rec[1], "SP1234;");
}

TEST_F(RecordBufferTest, AnItemLongerThanARecordIsCutIntoRecords) {
  text_.append("ab", 2);
  const std::string big(170, 'x');
  text_.append(big.c_str(), 170);
  text_.flush();
  const std::vector<std::string> rec = lines();
  ASSERT_EQ(rec.size(), 4u);
  EXPECT_EQ(rec[0], "ab");
  EXPECT_EQ(rec[1], std::string(80, 'x'));
  EXPECT_EQ(rec[2], std::string(80, 'x'));
  EXPECT_EQ(rec[3], std::string(10, 'x'));
}

TEST_F(RecordBufferTest, CgmRecordsAreExactly80BytesAndSplitItems) {
  std::string item(30, '\0');
  for (int i = 0; i < 30; ++i) item[i] = static_cast<char>(i);  // binary, zero bytes included
  for (int i = 0; i < 3; ++i) binary_.append(item.data(), 30);
  const std::string first = out_.bytes();
  ASSERT_EQ(first.size(), 80u);  // 60 bytes and the first 20 of the third item
  EXPECT_EQ(first.substr(60), item.substr(0, 20));
  EXPECT_EQ(binary_.fill(), 10);
  binary_.flush();  // padded with blanks to 80 bytes, no line end
  const std::string all = out_.bytes();
  ASSERT_EQ(all.size(), 160u);
  EXPECT_EQ(all.substr(80, 10), item.substr(20));
  EXPECT_EQ(all.substr(90), std::string(70, ' '));
}

TEST_F(RecordBufferTest, CgmItemSpanningSeveralRecords) {
  const std::string item(206, 'P');  // a 50-point POLYLINE element
  binary_.append("ab", 2);
  binary_.append(item.data(), 206);
  EXPECT_EQ(out_.bytes().size(), 160u);
  EXPECT_EQ(binary_.fill(), 48);
  // A record that is exactly full is written only when more comes or at the end.
  binary_.append(item.data(), 32);
  EXPECT_EQ(out_.bytes().size(), 160u);
  EXPECT_EQ(binary_.fill(), 80);
  binary_.flush();
  EXPECT_EQ(out_.bytes(), "ab" + std::string(238, 'P'));
}

TEST_F(RecordBufferTest, PostScriptTokensDropSingleBlanksAndTrailingBytes) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%5d %5d u ", 371, 186);
  text_.append_tokens(buf, 14);
  std::snprintf(buf, sizeof buf, "%5d cm ", 5);
  text_.append_tokens(buf, 10);  // the length counts the zero byte: the scan stops there
  text_.append_tokens("setlinewidth ", 13);
  text_.append_tokens("abc def", 7);  // bytes after the last blank are ignored
  text_.append_tokens("   ", 3);
  text_.flush();
  EXPECT_EQ(out_.bytes(), "371 186 u 5 cm setlinewidth abc \n");
}

TEST_F(RecordBufferTest, PostScriptRecordsNeverSplitATokenNorExceed80) {
  for (int i = 0; i < 11; ++i) text_.append_tokens("1234567 ", 8);
  text_.append_tokens("p ", 2);
  text_.flush();
  const std::vector<std::string> rec = lines();
  ASSERT_EQ(rec.size(), 2u);
  EXPECT_EQ(rec[0].size(), 80u);  // ten tokens of 8 fill the record exactly
  EXPECT_EQ(rec[1], "1234567 p ");
}

TEST_F(RecordBufferTest, NothingIsWrittenWithoutASink) {
  RecordBuffer text(nullptr, RecordKind::kText);
  RecordBuffer binary(nullptr, RecordKind::kBinary);
  for (int i = 0; i < 100; ++i) {
    text.append("0123456789", 10);
    text.append_tokens("token ", 6);
    binary.append("0123456789", 10);
  }
  EXPECT_LE(text.fill(), 80);
  EXPECT_LE(binary.fill(), 80);
  text.flush();
  binary.flush();
  EXPECT_EQ(text.fill(), 0);
  EXPECT_EQ(binary.fill(), 0);
}

}  // namespace
